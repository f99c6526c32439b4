// The NPC window and its Generate command, with scripted and with real draws.
#include "choicebox.h"
#include "form1.h"
#include "form2.h"
#include "npcstats.h"
#include "testsupport.h"
#include "wordlist.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QString kDemonFile = "\\data\\demon\\demon_names.quillmere";
const QString kGaelicFile = "\\data\\gaelic\\gaelic_male.quillmere";

// The name, the twelve statistics and the difficulty, as the user sees them.
QStringList contents(const Form2& npc)
{
    QStringList texts{npc.npc_name->text()};
    for (const StatRow& row : kStatRows)
        texts << npc.findChild<QLineEdit*>(row.box)->text();
    return texts << npc.npc_diff->currentText();
}

} // namespace

class TestNpc : public QObject {
    Q_OBJECT
private slots:
    // Numbers must stay plain digits even where the default locale groups them.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void press_data();
    void press();
    void window();
    void withMainWindow();
};

void TestNpc::press_data()
{
    QTest::addColumn<QString>("text"); // typed with the keys, then left by clicking "Generate"
    for (const char* text :
         {"Easy", "Medium", "Hard", "easy", "EASY", "HARD", " Easy", "Medium ", "Hard "})
        QTest::newRow(text) << QString(text);
}

void TestNpc::press()
{
    QFETCH(QString, text);
    const int level = QStringList{"Easy", "Medium", "Hard"}.indexOf(text), l = std::max(level, 0);
    TempExeDir exe;
    exe.write(kDemonFile, QStringList{"Baal", "Agares"});
    exe.write(kGaelicFile, QStringList{"Aodh"});
    Form2 npc;
    npc.show();
    QApplication::setActiveWindow(&npc);
    npc.npc_diff->lineEdit()->setFocus();
    npc.npc_diff->clearEditText();
    QTest::keyClicks(npc.npc_diff->lineEdit(), text);

    // Scripted: the largest draw picks the last name; each roll but Evasion's misses its floor
    // with a 0, then the largest draw gives the ceiling less one. Spare draws make an extra
    // draw show in the count. An unrecognised text leaves the boxes as they were.
    QStringList expected{"Aodh"};
    std::vector<float> draws{kLargestBelowOne};
    const StatRange StatRow::*column = kDifficulties[l].range;
    for (const StatRow& row : kStatRows) {
        const StatRange r = row.*column;
        npc.findChild<QLineEdit*>(row.box)->setText(row.box);
        expected << (level < 0 ? row.box : QString::number(std::max(r.ceiling - 1, 0)));
        if (r.floor > 0)
            draws.push_back(0.0f);
        draws.push_back(kLargestBelowOne);
    }
    draws.insert(draws.end(), 20, kLargestBelowOne);
    {
        ScriptedDraws scripted(draws);
        QTest::mouseClick(npc.Command1, Qt::LeftButton);
        QVERIFY(npc.Command1->hasFocus()); // the difficulty field has been left
        QCOMPARE(scripted.used(), level < 0 ? 1 : 1 + 2 * 11 + 1);
        QCOMPARE(contents(npc), expected << text);
    }

    // Real draws give every value from floor to ceiling less one, and no other. Presses: the
    // widest range (400, 1000, 5000 values) misses one with odds below 10^-8, n > m (ln m + 20).
    const int presses = level < 0 ? 0 : std::array{12000, 30000, 150000}[level];
    std::vector<QSet<QString>> seen(12);
    for (int p = 0; p < presses; ++p) {
        npc.Command1->click();
        for (int i = 0; i < 12; ++i)
            seen[i].insert(npc.findChild<QLineEdit*>(kStatRows[i].box)->text());
    }
    for (int i = 0; presses && i < 12; ++i) {
        QSet<QString> range;
        const StatRange r = kStatRows[i].*column;
        for (int v = r.floor; v < std::max(r.ceiling, 1); ++v)
            range.insert(QString::number(v));
        QVERIFY2(seen[i] == range, kStatRows[i].box);
    }

    // 10000 × 0.9999f is 9998.9998, but 9999 once rounded to single precision.
    ScriptedDraws single({0.9999f});
    QCOMPARE(RollStat(10000, 5000), 9999);
}

void TestNpc::window()
{
    // Without name files: one message names both, once the window is up.
    TempExeDir exe;
    ProblemCatcher catcher;
    Form2 npc;
    npc.show();
    QTRY_COMPARE(catcher.messages.size(), 1);
    QVERIFY(catcher.messages[0].contains(exe.full(kDemonFile)) &&
            catcher.messages[0].contains(exe.full(kGaelicFile)));
    QCOMPARE(npc.windowType(), Qt::Tool);
    QVERIFY(npc.minimumSize() == QSize(215, 273) && npc.maximumSize() == QSize(215, 273));
    // Every caption shows whole, right-aligned against its box.
    for (QLabel* label : npc.findChildren<QLabel*>())
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width() &&
                     label->fontMetrics().height() <= label->height() &&
                     (label->alignment() & Qt::AlignRight),
                 qPrintable(label->text()));
    const QStringList tabOrder{"npc_name",    "npc_maxhp", "npc_maxsp", "npc_strength", "npc_dex",
                               "npc_agility", "npc_intel", "npc_atp",   "npc_pdef",     "npc_mdef",
                               "npc_evasion", "npc_exp",   "npc_money", "npc_diff",     "Command1"};
    // Focus starts in the name; Tab walks the rest and comes back to the name.
    QApplication::setActiveWindow(&npc);
    QTRY_COMPARE(QApplication::focusWidget(), npc.npc_name);
    for (qsizetype i = 1; i <= tabOrder.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), tabOrder[i % tabOrder.size()]);
    }
}

void TestNpc::withMainWindow()
{
    ShippedExeDir exe;
    const QStringList names = ShippedLines(kDemonFile) + ShippedLines(kGaelicFile);
    Form1 form;
    form.show();
    // Open, close, open: fresh each time, demon then Gaelic male names; a second "Npc Stats"
    // changes nothing.
    QPointer<Form2> npc;
    for (int opening = 0; opening < 2; ++opening) {
        if (npc)
            npc->close();
        QTRY_VERIFY(npc.isNull());
        form.npcstat->trigger();
        npc = qobject_cast<Form2*>(form.npcWindow());
        QVERIFY(npc && npc->isVisible());
        QCOMPARE(npc->windowIcon().pixmap(32).toImage(), form.windowIcon().pixmap(32).toImage());
        QCOMPARE(contents(*npc), QStringList(13, QString()) << "Easy");
        npc->Command1->click();
        npc->npc_diff->setEditText("Hard");
        const QStringList before = contents(*npc);
        form.npcstat->trigger();
        QCOMPARE(form.npcWindow(), npc.data());
        QCOMPARE(contents(*npc), before);
        QCOMPARE(npc->npc_name_list->entries(), names);
    }

    // With the main window closed the program runs on until the NPC window closes too.
    QObject steps; // they end with this test
    bool stillRunning = false;
    QTimer::singleShot(0, &steps, [&] { form.close(); });
    QTimer::singleShot(200, &steps, [&] { stillRunning = npc && npc->close(); });
    QTimer::singleShot(5000, &steps, [] { QCoreApplication::exit(99); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(stillRunning);
    // "Exit" with both open ends the program and closes both.
    form.show();
    form.npcstat->trigger();
    QTimer::singleShot(0, &steps, [&] { form.ex->trigger(); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!form.isVisible() && !form.npcWindow()->isVisible());
}

QTEST_MAIN(TestNpc)
#include "tst_npc.moc"
