// Word lists: reading, failures, limits, the random pick and Generate, the
// shipped files, and the result box.
#include "loadwordlist.h"
#include "nationalities.h"
#include "problems.h"
#include "random.h"
#include "resultbox.h"
#include "testsupport.h"
#include "twoword.h"
#include "wordlist.h"
#include "wordlistfile.h"

#include <QClipboard>
#include <QDirIterator>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <sys/stat.h>

class TestWordLists : public QObject {
    Q_OBJECT
private slots:
    void phrase_data();
    void phrase();
    void shippedLists();
    void resultBox();
};

void TestWordLists::phrase_data()
{
    QTest::addColumn<QStringList>("prim");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<float>("r1");
    QTest::addColumn<float>("r2");
    QTest::addColumn<QString>("result");
    const QStringList adj{"Crimson", "Silent", "Eternal"};
    const QStringList noun{"Kingdom", "Saga"};
    QTest::newRow("first, last") << adj << noun << 0.0f << kLargestBelowOne << "Crimson Saga";
    QTest::newRow("last, first") << adj << noun << kLargestBelowOne << 0.0f << "Eternal Kingdom";
    QTest::newRow("boundary") << adj << noun << 1.0f / 3 << std::nextafter(0.5f, 0.0f)
                              << "Silent Kingdom";
    QTest::newRow("empty lists") << QStringList{} << QStringList{} << 0.1f << kLargestBelowOne
                                 << " ";
    QTest::newRow("blank and several words")
        << QStringList{""} << QStringList{" the Rings "} << 0.3f << 0.6f << "  the Rings ";
}

void TestWordLists::phrase()
{
    QFETCH(QStringList, prim);
    QFETCH(QStringList, second);
    QFETCH(float, r1);
    QFETCH(float, r2);
    QFETCH(QString, result);
    WordListModel p;
    WordListModel s;
    p.append(prim);
    s.append(second);
    ScriptedDraws draws({r1, r2});
    QCOMPARE(GeneratePhrase(p, s), result);
    QCOMPARE(draws.used(), 2);
    QCOMPARE(PickIndexFor(32767, kLargestBelowOne), 32766);
}

void TestWordLists::shippedLists()
{
    // The real source: 24-bit draws, below one.
    RandomSource::SeedFromClock();
    for (int i = 0; i < 100000; ++i) {
        const float r = RandomSource::Draw();
        QVERIFY(r >= 0.0f && r < 1.0f && r * 16777216.0f == std::floor(r * 16777216.0f));
    }
    // The twenty lists ship: CR LF only, UTF-8 without BOM, ASCII outside the name files,
    // no blank, padded or repeated (ignoring case) entries. The loaders find them by name.
    QStringList found;
    for (QDirIterator it(SourceDir() + "/data", {"*.quillmere"}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        found << it.next().mid(SourceDir().size()).replace('/', '\\');
    QCOMPARE(found.size(), 20);
    for (const QString& path : found) {
        QFile file(SourceDir() + QString(path).replace('\\', '/'));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QStringList entries = ShippedLines(path);
        const bool twoWord = path.count('\\') == 2;
        QVERIFY2(!bytes.startsWith("\xEF\xBB\xBF") && bytes.endsWith("\r\n") &&
                     bytes.count("\r\n") == bytes.count('\n') &&
                     bytes.count('\r') == bytes.count('\n') &&
                     QString::fromUtf8(bytes).toUtf8() == bytes &&
                     entries.size() >= (twoWord ? 250 : 200),
                 qPrintable(path));
        QSet<QString> distinct;
        for (const QString& entry : entries) {
            const bool ascii = entry.toLatin1() == entry.toUtf8();
            QVERIFY2(!entry.isEmpty() && entry == entry.trimmed() && entry.at(0).isUpper() &&
                         (ascii || !(twoWord || path.contains("japanese"))),
                     qPrintable(entry));
            distinct.insert(entry.toCaseFolded());
        }
        QVERIFY2(distinct.size() == entries.size(), qPrintable(path + " has repeats"));
    }
}

void TestWordLists::resultBox()
{
    ResultBox box;
    box.setGeometry(0, 0, 257, 27);
    box.setAlignment(Qt::AlignCenter);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const QString text : {"Crimson Kingdom", "Niamh ", ""}) {
        // A click anywhere selects the whole text.
        box.setText(text);
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 13));
        QCOMPARE(box.selectedText(), text);
        // A double-click asks; Yes copies what the box holds when answered, No copies nothing.
        for (const bool yes : {false, true}) {
            clipboard->setText("before");
            QString seen;
            AnswerNextModal([&](QWidget* w) {
                auto* mb = qobject_cast<QMessageBox*>(w);
                const auto* yesButton = mb->button(QMessageBox::Yes);
                seen =
                    QString("%1|%2|%3|%4")
                        .arg(mb->windowTitle(), mb->text())
                        .arg(mb->icon())
                        .arg(static_cast<const QAbstractButton*>(mb->defaultButton()) == yesButton);
                box.setText(text + "!");
                if (yes)
                    QTest::keyClick(mb, Qt::Key_Return);
                else
                    mb->button(QMessageBox::No)->click();
            });
            QTest::mouseDClick(&box, Qt::LeftButton, {}, QPoint(200, 13));
            QCOMPARE(seen,
                     "Warning!|Are you sure you want to add the generation to clipboard?|0|1");
            QCOMPARE(clipboard->text(), yes ? text + "!" : QString("before"));
            QCOMPARE(box.selectedText(), yes ? text + "!" : QString());
        }
    }
}

QTEST_MAIN(TestWordLists)
#include "tst_wordlists.moc"
