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

// The statistic boxes in rolling order, with floor T and ceiling K for Easy, Medium, Hard.
struct Stat {
    const char* box;
    int floor[3];
    int ceiling[3];
};
// clang-format off
const Stat kStats[12] = {
    {"npc_maxhp",    {100, 1000, 5000}, {500, 2000, 10000}},
    {"npc_maxsp",    {100, 1000, 1000}, {500, 1500, 1700}},
    {"npc_intel",    {10, 70, 100},     {50, 150, 170}},
    {"npc_atp",      {100, 110, 120},   {110, 200, 250}},
    {"npc_strength", {30, 80, 100},     {50, 170, 200}},
    {"npc_pdef",     {80, 90, 100},     {100, 140, 160}},
    {"npc_mdef",     {80, 90, 100},     {105, 140, 160}},
    {"npc_dex",      {30, 90, 100},     {50, 140, 160}},
    {"npc_agility",  {40, 100, 100},    {60, 140, 160}},
    {"npc_evasion",  {0, 0, 0},         {0, 0, 0}},
    {"npc_exp",      {1, 55, 130},      {15, 90, 200}},
    {"npc_money",    {5, 80, 150},      {30, 150, 400}},
};

// In tab order: name, left, top, width, height in twips (inside Frame1 from its corner),
// text. Labels show their whole caption, ending just left of their box.
const char* const kLayout[] = {
    "Label1 120 120 585 195 Name:",          "npc_name 840 120 2295 285",
    "Label2 0 480 720 195 Max Hp:",          "npc_maxhp 840 480 615 285",
    "Label3 0 840 720 195 Max Sp:",          "npc_maxsp 840 840 615 285",
    "Label4 0 1200 720 195 Strength:",       "npc_strength 840 1200 615 285",
    "Label5 0 1560 720 195 Dexterity:",      "npc_dex 840 1560 615 285",
    "Label6 0 1920 720 195 Agility:",        "npc_agility 840 1920 615 285",
    "Label7 1560 480 840 195 Intelligence:", "npc_intel 2520 480 615 285",
    "Label8 1560 840 840 195 Atk Power:",    "npc_atp 2520 840 615 285",
    "Label9 1560 1200 840 195 P. Defense:",  "npc_pdef 2520 1200 615 285",
    "Label10 1440 1560 960 195 M. Defense:", "npc_mdef 2520 1560 615 285",
    "Label11 1560 1920 840 195 Evasion:",    "npc_evasion 2520 1920 615 285",
    "Label12 0 2280 720 195 Exp:",           "npc_exp 840 2280 615 285",
    "Label13 1680 2280 720 195 M. Drop:",    "npc_money 2520 2280 615 285",
    "Frame1 120 2640 3015 855 Generation Properties", "npc_diff 960 360 1935 315 Easy",
    "Label14 120 360 720 195 Difficulty:",   "Command1 120 3600 3015 375 Generate",
};
// clang-format on

// The name, the twelve statistics and the difficulty, as the user sees them.
QStringList contents(const Form2& npc)
{
    QStringList texts{npc.npc_name->text()};
    for (const Stat& stat : kStats)
        texts << npc.findChild<QLineEdit*>(stat.box)->text();
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
    for (const Stat& s : kStats) {
        npc.findChild<QLineEdit*>(s.box)->setText(s.box);
        expected << (level < 0 ? s.box : QString::number(std::max(s.ceiling[l] - 1, 0)));
        if (s.floor[l] > 0)
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
            seen[i].insert(npc.findChild<QLineEdit*>(kStats[i].box)->text());
    }
    for (int i = 0; presses && i < 12; ++i) {
        QSet<QString> range;
        for (int v = kStats[i].floor[l]; v < std::max(kStats[i].ceiling[l], 1); ++v)
            range.insert(QString::number(v));
        QVERIFY2(seen[i] == range, kStats[i].box);
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
    QCOMPARE(npc.npc_diff->parentWidget()->objectName(), QString("Frame1"));
    QCOMPARE(npc.Label14->parentWidget()->objectName(), QString("Frame1"));
    QStringList tabOrder;
    for (const char* row : kLayout) {
        auto* c = npc.findChild<QWidget*>(QString(row).section(' ', 0, 0));
        QVERIFY2(c && c->isVisible(), row);
        const QRect r = c->geometry();
        const QString text = c->property("text").toString() + c->property("title").toString() +
                             c->property("currentText").toString();
        QCOMPARE(QString::asprintf("%s %d %d %d %d %s", qPrintable(c->objectName()), r.x() * 15,
                                   r.y() * 15, r.width() * 15, r.height() * 15, qPrintable(text))
                     .trimmed(),
                 QString(row));
        if (auto* label = qobject_cast<QLabel*>(c))
            QVERIFY2(label->fontMetrics().horizontalAdvance(text) <= r.width() &&
                         label->fontMetrics().height() <= r.height() &&
                         (label->alignment() & Qt::AlignRight),
                     row);
        else if (c->objectName() != "Frame1")
            tabOrder << c->objectName();
    }
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
