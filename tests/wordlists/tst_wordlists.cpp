// Word lists: the random pick and Generate, the shipped files, and the
// result box.
#include "random.h"
#include "resultbox.h"
#include "testsupport.h"
#include "twoword.h"
#include "wordlist.h"

#include <QClipboard>
#include <QDirIterator>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestWordLists : public QObject {
    Q_OBJECT
private slots:
    void phrase_data();
    void phrase();
    void shippedLists();
    void shippedPairs_data();
    void shippedPairs();
    void resultBox();
};

void TestWordLists::phrase_data()
{
    QTest::addColumn<QStringList>("prim");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<float>("r1");
    QTest::addColumn<float>("r2");
    QTest::addColumn<QString>("result");
    const QStringList adj{"Crimson", "Silent", "Eternal"}, noun{"Kingdom", "Saga"};
    QTest::newRow("first, last") << adj << noun << 0.0f << kLargestBelowOne << "Crimson Saga";
    QTest::newRow("last, first") << adj << noun << kLargestBelowOne << 0.0f << "Eternal Kingdom";
    QTest::newRow("boundary") << adj << noun << 1.0f / 3 << 0.49999997f << "Silent Kingdom";
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
    WordListModel p, s;
    p.append(prim);
    s.append(second);
    ScriptedDraws draws({r1, r2});
    QCOMPARE(GeneratePhrase(p, s), result);
    QCOMPARE(draws.used(), 2);
    QCOMPARE(PickIndexFor(32767, kLargestBelowOne), 32766);
}

// Accents and case do not make two names different to a reader (Pól, Pòl).
static QString Folded(const QString& text)
{
    QString folded;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (!c.isMark())
            folded += c;
    return folded.toCaseFolded();
}

static QSet<QString> FoldedSet(const QStringList& entries)
{
    QSet<QString> set;
    for (const QString& entry : entries)
        set.insert(Folded(entry));
    return set;
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
    // no blank, padded or repeated (ignoring case and accents) entries, no singular beside its
    // plural. The loaders find them by name.
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
        const QSet<QString> distinct = FoldedSet(entries);
        QVERIFY2(distinct.size() == entries.size(), qPrintable(path + " has repeats"));
        for (const QString& entry : entries) {
            const bool ascii = entry.toLatin1() == entry.toUtf8();
            QVERIFY2(!entry.isEmpty() && entry == entry.trimmed() && entry.at(0).isUpper() &&
                         (ascii || !(twoWord || path.contains("japanese"))),
                     qPrintable(entry));
            // A Greek woman cannot carry a masculine surname, so only the genitive forms
            // that both genders share may stand.
            QVERIFY2(!path.endsWith("greek\\surnames.quillmere") || entry.endsWith("ou") ||
                         entry.endsWith("ous"),
                     qPrintable(entry));
            const QString e = Folded(entry);
            QStringList plurals{e + "s", e + "es"};
            for (const auto& [singular, plural] :
                 {std::pair{"y", "ies"}, {"f", "ves"}, {"fe", "ves"}, {"man", "men"}})
                if (e.endsWith(singular))
                    plurals << e.chopped(qstrlen(singular)) + plural;
            for (const QString& plural : plurals)
                QVERIFY2(!distinct.contains(plural), qPrintable(path + ": " + entry));
        }
    }
}

// Two-word names of atrocities and hate slogans, and well-known titles, kept beside this test.
static QStringList Names(const char* file)
{
    QFile list(SourceDir() + "/tests/wordlists/" + file);
    if (!list.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", file);
    QStringList names;
    for (const QString& line : QString::fromUtf8(list.readAll()).split('\n'))
        if (!line.trimmed().isEmpty() && !line.startsWith('#'))
            names << line.trimmed();
    return names;
}

void TestWordLists::shippedPairs_data()
{
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QString>("secondary");
    QTest::addColumn<int>("famousCeiling");
    QTest::addColumn<bool>("disjoint");
    const auto row = [](const char* name, const char* primary, const char* secondary, int famous,
                        bool disjoint) {
        QTest::newRow(name) << QString("\\data\\%1.quillmere").arg(primary)
                            << QString("\\data\\%1.quillmere").arg(secondary) << famous << disjoint;
    };
    // Lost and Dark make most of what titles still can: they are the register.
    row("game title", "adjectives-ect", "nouns-ect", 12, true);
    row("item", "items-des-ect", "items-objects", 0, true);
    row("equipment", "equipment-ect", "equipment-objects", 1, true);
    row("skill", "skills-des-ect", "skills-objects", 0, true);
    // Names may be surnames too (Scott, Izumi); the two famous ones are Max Payne and Ruby Knight.
    row("english male", "english\\male_firstnames", "english\\surnames", 1, false);
    row("english female", "english\\female_firstnames", "english\\surnames", 1, false);
    row("greek male", "greek\\male_firstnames", "greek\\surnames", 0, true);
    row("greek female", "greek\\female_firstnames", "greek\\surnames", 0, true);
    row("japanese male", "japanese\\male_firstnames", "japanese\\surnames", 0, true);
    row("japanese female", "japanese\\female_firstnames", "japanese\\surnames", 0, false);
}

void TestWordLists::shippedPairs()
{
    QFETCH(QString, primary);
    QFETCH(QString, secondary);
    QFETCH(int, famousCeiling);
    QFETCH(bool, disjoint);
    const QSet<QString> first = FoldedSet(ShippedLines(primary));
    const QSet<QString> second = FoldedSet(ShippedLines(secondary));
    QVERIFY(first.size() >= 200 && second.size() >= 200);
    // Generate joins the two entries with one space, and an entry may hold spaces itself.
    const auto producible = [&](const QString& phrase) {
        const QString p = Folded(phrase);
        for (qsizetype i = p.indexOf(' '); i >= 0; i = p.indexOf(' ', i + 1))
            if (first.contains(p.left(i)) && second.contains(p.mid(i + 1)))
                return true;
        return false;
    };
    for (const QString& name : Names("atrocities.txt"))
        QVERIFY2(!producible(name), qPrintable(name));
    QStringList famous;
    for (const QString& title : Names("famous-titles.txt"))
        if (producible(title))
            famous << title;
    QVERIFY2(famous.size() <= famousCeiling, qPrintable(famous.join(", ")));
    if (disjoint)
        QVERIFY2(!first.intersects(second),
                 qPrintable(QSet<QString>(first).intersect(second).values().join(", ")));
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
            box.setText(text);
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
