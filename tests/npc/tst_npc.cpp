// The NPC window and its Generate command, with scripted and with real draws.
#include "choicebox.h"
#include "form1.h"
#include "form2.h"
#include "imagelist.h"
#include "npcstats.h"
#include "testsupport.h"
#include "wordlist.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <memory>
#include <set>

namespace {

const char* const kDemonFile = "\\data\\demon\\demon_names.quillmere";
const char* const kGaelicFile = "\\data\\gaelic\\gaelic_male.quillmere";

// The statistic boxes in rolling order, and every value each may show.
struct Stat {
    const char* box;
    int low[3]; // Easy, Medium, Hard
    int high[3];
};
// clang-format off
const Stat kStats[12] = {
    {"npc_maxhp",    {100, 1000, 5000}, {499, 1999, 9999}},
    {"npc_maxsp",    {100, 1000, 1000}, {499, 1499, 1699}},
    {"npc_intel",    {10, 70, 100},     {49, 149, 169}},
    {"npc_atp",      {100, 110, 120},   {109, 199, 249}},
    {"npc_strength", {30, 80, 100},     {49, 169, 199}},
    {"npc_pdef",     {80, 90, 100},     {99, 139, 159}},
    {"npc_mdef",     {80, 90, 100},     {104, 139, 159}},
    {"npc_dex",      {30, 90, 100},     {49, 139, 159}},
    {"npc_agility",  {40, 100, 100},    {59, 139, 159}},
    {"npc_evasion",  {0, 0, 0},         {0, 0, 0}},
    {"npc_exp",      {1, 55, 130},      {14, 89, 199}},
    {"npc_money",    {5, 80, 150},      {29, 149, 399}},
};
// clang-format on
const QStringList kLevels{"Easy", "Medium", "Hard"};

// An NPC window over name files of the test's own making.
struct NpcWindow {
    explicit NpcWindow(const QStringList& demons = {"Baal", "Agares"},
                       const QStringList& gaelic = {"Aodh"})
    {
        exe.write(kDemonFile, demons);
        exe.write(kGaelicFile, gaelic);
        form = std::make_unique<Form2>();
    }
    Form2* operator->() const { return form.get(); }
    QLineEdit* box(const QString& name) const { return form->findChild<QLineEdit*>(name); }
    TempExeDir exe;
    std::unique_ptr<Form2> form;
};

// The name box, the twelve statistics and the difficulty, as the user sees them.
QStringList contentsOf(const Form2* npc)
{
    QStringList texts{npc->npc_name->text()};
    for (const Stat& stat : kStats)
        texts << npc->findChild<QLineEdit*>(stat.box)->text();
    return texts << npc->npc_diff->currentText();
}

// An editable drop-down has the keyboard when its text field has it.
QString focusedName()
{
    QWidget* w = QApplication::focusWidget();
    if (w && qobject_cast<QComboBox*>(w->parentWidget()))
        w = w->parentWidget();
    return w ? w->objectName() : QString();
}

} // namespace

class TestNpc : public QObject {
    Q_OBJECT
private slots:
    void roll_data();
    void roll();
    void press_data();
    void press();
    void difficultyText_data();
    void difficultyText();
    void realDrawsCoverEveryRange_data();
    void realDrawsCoverEveryRange();
    void controls_data();
    void controls();
    void window();
    void loadStep_data();
    void loadStep();
    void openCloseOpen();
    void programEnds_data();
    void programEnds();
};

void TestNpc::roll_data()
{
    QTest::addColumn<int>("ceiling");
    QTest::addColumn<int>("floor");
    QTest::addColumn<QList<float>>("draws");
    QTest::addColumn<int>("value");
    QTest::newRow("below floor retried") << 110 << 100 << QList<float>{0.0f, 0.9f, 0.95f} << 104;
    QTest::newRow("floor accepted") << 500 << 100 << QList<float>{0.2f} << 100;
    QTest::newRow("just below floor retried")
        << 500 << 100 << QList<float>{std::nextafter(0.2f, 0.0f), 0.2f} << 100;
    QTest::newRow("largest draw") << 10000 << 5000 << QList<float>{kLargestBelowOne} << 9999;
    // Exactly, these products would give 9998 and a retry below 100.
    QTest::newRow("single precision rounds up") << 10000 << 5000 << QList<float>{0.9999f} << 9999;
    QTest::newRow("single precision reaches floor")
        << 110 << 100 << QList<float>{0x1.d1745cp-1f} << 100;
    QTest::newRow("zero range takes a draw") << 0 << 0 << QList<float>{0.7f} << 0;
}

void TestNpc::roll()
{
    QFETCH(int, ceiling);
    QFETCH(int, floor);
    QFETCH(QList<float>, draws);
    QFETCH(int, value);
    // A spare draw that every roll accepts shows a roll that tries too often
    // as a wrong count, where the zeros of an overrun would spin for ever.
    std::vector<float> script(draws.begin(), draws.end());
    script.push_back(kLargestBelowOne);
    ScriptedDraws scripted(script);
    QCOMPARE(RollStat(ceiling, floor), value);
    QCOMPARE(scripted.used(), int(draws.size()));
}

void TestNpc::press_data()
{
    QTest::addColumn<int>("level");
    for (int level = 0; level < 3; ++level)
        QTest::newRow(qPrintable(kLevels[level])) << level;
}

void TestNpc::press()
{
    QFETCH(int, level);
    NpcWindow npc;
    npc->npc_diff->setEditText(kLevels[level]);

    // Every statistic but Evasion first misses its floor with a 0, then
    // lands mid-range; Evasion accepts whatever it draws.
    std::vector<float> draws{0.0f};
    QList<int> usedAfterRoll;
    QStringList middles{"Baal"};
    for (const Stat& stat : kStats) {
        const int mid = (stat.low[level] + stat.high[level]) / 2;
        if (stat.low[level] > 0)
            draws.push_back(0.0f);
        draws.push_back(float((mid + 0.5) / (stat.high[level] + 1)));
        usedAfterRoll << int(draws.size());
        middles << QString::number(mid);
    }
    QList<int> usedAtWrite;
    {
        ScriptedDraws scripted(draws);
        QObject watching; // ends the watch with this press
        for (const Stat& stat : kStats)
            connect(npc.box(stat.box), &QLineEdit::textChanged, &watching,
                    [&] { usedAtWrite << scripted.used(); });
        QTest::mouseClick(npc->Command1, Qt::LeftButton);
        QCOMPARE(scripted.used(), 1 + 2 * 11 + 1);
        QVERIFY(!scripted.overrun());
    }
    // Each box is written as soon as its own roll is done, in rolling order.
    QCOMPARE(usedAtWrite, usedAfterRoll);
    QCOMPARE(contentsOf(npc.form.get()), middles << kLevels[level]);

    // The largest draw gives the ceiling less one, in plain digits even
    // where the locale groups them.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ScriptedDraws largest(std::vector<float>(13, kLargestBelowOne));
    npc->Command1->click();
    QLocale::setDefault(previous);
    QCOMPARE(largest.used(), 13);
    QStringList highs{"Aodh"};
    for (const Stat& stat : kStats)
        highs << QString::number(stat.high[level]);
    QCOMPARE(contentsOf(npc.form.get()), highs << kLevels[level]);
}

void TestNpc::difficultyText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("typed"); // with the keys, leaving the field by clicking "Generate"
    QTest::addColumn<bool>("recognised");
    for (const char* text :
         {"easy", "EASY", "medium", "HARD", " Easy", "Medium ", "Hard\t", "", "Easy Hard"})
        QTest::newRow(text) << QString(text) << false << false;
    QTest::newRow("typed easy") << "easy" << true << false;
    QTest::newRow("typed Hard space") << "Hard " << true << false;
    QTest::newRow("typed Hard") << "Hard" << true << true;
}

void TestNpc::difficultyText()
{
    QFETCH(QString, text);
    QFETCH(bool, typed);
    QFETCH(bool, recognised);
    NpcWindow npc;
    npc->show();
    QVERIFY(QTest::qWaitForWindowExposed(npc.form.get()));
    QApplication::setActiveWindow(npc.form.get());
    for (const Stat& stat : kStats)
        npc.box(stat.box)->setText(QString("typed ") + stat.box);
    QStringList before = contentsOf(npc.form.get());
    if (typed) {
        npc->npc_diff->lineEdit()->setFocus();
        npc->npc_diff->lineEdit()->selectAll();
        QTest::keyClicks(npc->npc_diff->lineEdit(), text);
    } else {
        npc->npc_diff->setEditText(text);
    }
    ScriptedDraws scripted(std::vector<float>(13, kLargestBelowOne));
    QTest::mouseClick(npc->Command1, Qt::LeftButton);
    if (typed)
        QCOMPARE(focusedName(), QString("Command1"));

    QCOMPARE(npc->npc_diff->currentText(), text);
    QCOMPARE(scripted.used(), recognised ? 13 : 1);
    before.first() = "Aodh";
    before.last() = text;
    if (recognised)
        QCOMPARE(npc->npc_maxhp->text(), QString("9999"));
    else
        QCOMPARE(contentsOf(npc.form.get()), before);
}

void TestNpc::realDrawsCoverEveryRange_data()
{
    // Enough presses that the widest range of each difficulty (400, 1000 and
    // 5000 values) misses one of its values with odds below one in 10^8:
    // n > m (ln m + 20).
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("presses");
    QTest::newRow("Easy") << 0 << 12000;
    QTest::newRow("Medium") << 1 << 30000;
    QTest::newRow("Hard") << 2 << 150000;
}

void TestNpc::realDrawsCoverEveryRange()
{
    QFETCH(int, level);
    QFETCH(int, presses);
    NpcWindow npc({"Baal", "", "Vassago"}, {"Aodh", "Baal"});
    npc->npc_diff->setEditText(kLevels[level]);
    std::vector<std::vector<bool>> seen;
    for (const Stat& stat : kStats)
        seen.emplace_back(stat.high[level] - stat.low[level] + 1, false);
    std::set<QString> names;
    for (int p = 0; p < presses; ++p) {
        npc->Command1->click();
        names.insert(npc->npc_name->text());
        for (int i = 0; i < 12; ++i) {
            const QString text = npc.box(kStats[i].box)->text();
            const int v = text.toInt();
            if (QString::number(v) != text || v < kStats[i].low[level] || v > kStats[i].high[level])
                QFAIL(qPrintable(QString("%1 shows \"%2\"").arg(kStats[i].box, text)));
            seen[i][v - kStats[i].low[level]] = true;
        }
    }
    for (int i = 0; i < 12; ++i) {
        for (std::size_t k = 0; k < seen[i].size(); ++k)
            QVERIFY2(seen[i][k], qPrintable(QString("%1 never showed %2")
                                                .arg(kStats[i].box)
                                                .arg(kStats[i].low[level] + int(k))));
    }
    QCOMPARE(names, std::set<QString>({"Baal", "", "Vassago", "Aodh"}));
}

void TestNpc::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips"); // npc_diff and Label14 from Frame1's corner
    struct Row {
        const char* name;
        const char* text;
        QRect twips;
    };
    const Row rows[] = {
        {"Label1", "Name:", {120, 120, 585, 195}},
        {"npc_name", "", {840, 120, 2295, 285}},
        {"Label2", "Max Hp:", {0, 480, 720, 195}},
        {"npc_maxhp", "", {840, 480, 615, 285}},
        {"Label3", "Max Sp:", {0, 840, 720, 195}},
        {"npc_maxsp", "", {840, 840, 615, 285}},
        {"Label4", "Strength:", {0, 1200, 720, 195}},
        {"npc_strength", "", {840, 1200, 615, 285}},
        {"Label5", "Dexterity:", {0, 1560, 720, 195}},
        {"npc_dex", "", {840, 1560, 615, 285}},
        {"Label6", "Agility:", {0, 1920, 720, 195}},
        {"npc_agility", "", {840, 1920, 615, 285}},
        {"Label7", "Intelligence:", {1560, 480, 840, 195}},
        {"npc_intel", "", {2520, 480, 615, 285}},
        {"Label8", "Atk Power:", {1560, 840, 840, 195}},
        {"npc_atp", "", {2520, 840, 615, 285}},
        {"Label9", "P. Defense:", {1560, 1200, 840, 195}},
        {"npc_pdef", "", {2520, 1200, 615, 285}},
        {"Label10", "M. Defense:", {1440, 1560, 960, 195}},
        {"npc_mdef", "", {2520, 1560, 615, 285}},
        {"Label11", "Evasion:", {1560, 1920, 840, 195}},
        {"npc_evasion", "", {2520, 1920, 615, 285}},
        {"Label12", "Exp:", {0, 2280, 720, 195}},
        {"npc_exp", "", {840, 2280, 615, 285}},
        {"Label13", "M. Drop:", {1680, 2280, 720, 195}},
        {"npc_money", "", {2520, 2280, 615, 285}},
        {"Frame1", "Generation Properties", {120, 2640, 3015, 855}},
        {"npc_diff", "Easy", {960, 360, 1935, 315}},
        {"Label14", "Difficulty:", {120, 360, 720, 195}},
        {"Command1", "Generate", {120, 3600, 3015, 375}},
    };
    for (const Row& row : rows)
        QTest::newRow(row.name) << QString(row.name) << QString(row.text) << row.twips;
}

void TestNpc::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    NpcWindow npc;
    npc->show();
    QVERIFY(QTest::qWaitForWindowExposed(npc.form.get()));
    auto* w = npc->findChild<QWidget*>(name);
    QVERIFY(w && w->isVisible());
    const bool inFrame = name == "npc_diff" || name == "Label14";
    QCOMPARE(w->parentWidget(), inFrame ? npc->Frame1 : static_cast<QWidget*>(npc.form.get()));
    QCOMPARE(w->geometry(), QRect(twips.topLeft() / 15, twips.size() / 15));
    QVERIFY(!w->testAttribute(Qt::WA_SetFont));
    QString shown = w->property("text").toString() + w->property("title").toString() +
                    w->property("currentText").toString();
    QCOMPARE(shown, text);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        // The whole caption shows, ending just left of its box.
        QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        const QFontMetrics fm(label->font());
        QVERIFY2(
            fm.horizontalAdvance(text) <= w->width(),
            qPrintable(QString("%1 px in %2").arg(fm.horizontalAdvance(text)).arg(w->width())));
        QVERIFY(fm.height() <= w->height());
    }
}

void TestNpc::window()
{
    NpcWindow npc;
    npc->show();
    QVERIFY(QTest::qWaitForWindowExposed(npc.form.get()));
    QCOMPARE(npc->objectName(), QString("Form2"));
    QCOMPARE(npc->windowTitle(), QString("NPC Stats Generator"));
    QCOMPARE(npc->windowType(), Qt::Tool);
    QVERIFY(npc->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(npc->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(npc->minimumSize(), QSize(215, 273));
    QCOMPARE(npc->maximumSize(), QSize(215, 273));
    QVERIFY(npc->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(npc->findChild<WordListModel*>("npc_name_list"), npc->npc_name_list);
    QCOMPARE(npc->findChildren<QLineEdit*>().size(), 14); // the 13 boxes and the difficulty's
    QCOMPARE(contentsOf(npc.form.get()), QStringList(13, QString()) << "Easy");
    QCOMPARE(npc->npc_diff->count(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(npc->npc_diff->itemText(i), kLevels[i]);

    // Focus starts in the name; Tab goes down the left column, down the
    // right, then the bottom row.
    QApplication::setActiveWindow(npc.form.get());
    QTRY_COMPARE(focusedName(), QString("npc_name"));
    const QStringList order{"npc_maxhp", "npc_maxsp", "npc_strength", "npc_dex",  "npc_agility",
                            "npc_intel", "npc_atp",   "npc_pdef",     "npc_mdef", "npc_evasion",
                            "npc_exp",   "npc_money", "npc_diff",     "Command1", "npc_name"};
    QStringList visited;
    for (int i = 0; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focusedName();
    }
    QCOMPARE(visited, order);

    // Return presses nothing.
    ScriptedDraws none{};
    for (QLineEdit* w : {npc->npc_name, npc->npc_diff->lineEdit()}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        QTest::keyClick(w, Qt::Key_Enter);
    }
    QCOMPARE(none.used(), 0);
}

void TestNpc::loadStep_data()
{
    QTest::addColumn<QStringList>("demons"); // "missing": no file
    QTest::addColumn<QStringList>("gaelic");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("unreadable");
    QTest::newRow("demons then gaelic, as written")
        << QStringList{"Baal", "", " Shared "} << QStringList{" Shared ", "Aodh"}
        << QStringList{"Baal", "", " Shared ", " Shared ", "Aodh"} << QStringList{};
    QTest::newRow("demons missing") << QStringList{"missing"} << QStringList{"Aodh"}
                                    << QStringList{"Aodh"} << QStringList{kDemonFile};
    QTest::newRow("both missing") << QStringList{"missing"} << QStringList{"missing"}
                                  << QStringList{} << QStringList{kDemonFile, kGaelicFile};
}

void TestNpc::loadStep()
{
    QFETCH(QStringList, demons);
    QFETCH(QStringList, gaelic);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, unreadable);
    TempExeDir exe;
    if (demons != QStringList{"missing"})
        exe.write(kDemonFile, demons);
    if (gaelic != QStringList{"missing"})
        exe.write(kGaelicFile, gaelic);
    ProblemCatcher catcher;
    Form2 npc;
    QCOMPARE(npc.npc_name_list->entries(), entries);
    // Every unreadable file is told in one message, once the window is up.
    QTRY_COMPARE(catcher.messages.size(), unreadable.isEmpty() ? 0 : 1);
    for (const QString& file : unreadable)
        QVERIFY(catcher.messages.first().contains(exe.full(file)));
    // With no names at all, a press writes an empty name and still rolls.
    if (entries.isEmpty()) {
        npc.npc_name->setText("old");
        npc.Command1->click();
        QCOMPARE(npc.npc_name->text(), QString());
        QVERIFY(!npc.npc_maxhp->text().isEmpty());
    }
}

void TestNpc::openCloseOpen()
{
    ShippedExeDir exe;
    const QStringList names = ShippedLines(kDemonFile) + ShippedLines(kGaelicFile);
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.npcWindow(), nullptr);
    const QStringList fresh = QStringList(13, QString()) << "Easy";

    for (int opening = 0; opening < 2; ++opening) {
        form.npcstat->trigger();
        QPointer<Form2> npc = qobject_cast<Form2*>(form.npcWindow());
        QCOMPARE(npc->windowIcon().pixmap(32).toImage(), ProgramIcon().pixmap(32).toImage());
        QVERIFY(npc && npc->isVisible() && !npc->parent());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(npc));
        QCOMPARE(npc->npc_name_list->entries(), names);
        QCOMPARE(contentsOf(npc), fresh);

        // A second "Npc Stats" brings it forward and changes nothing.
        npc->Command1->click();
        npc->npc_exp->setText("typed");
        npc->npc_diff->setEditText("Hard");
        const QStringList before = contentsOf(npc);
        QApplication::setActiveWindow(&form);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&form));
        form.npcstat->trigger();
        QCOMPARE(form.npcWindow(), npc.data());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(npc));
        QCOMPARE(contentsOf(npc), before);
        QCOMPARE(npc->npc_name_list->count(), names.size());

        // Closing discards it.
        npc->close();
        QTRY_VERIFY(npc.isNull());
        QCOMPARE(form.npcWindow(), nullptr);
    }
}

void TestNpc::programEnds_data()
{
    QTest::addColumn<bool>("exit");
    QTest::newRow("main window closed, then the NPC window") << false;
    QTest::newRow("Exit with both open") << true;
}

void TestNpc::programEnds()
{
    QFETCH(bool, exit);
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.npcstat->trigger();
    QPointer<QWidget> npc = form.npcWindow();

    // The first step either exits or closes the main window; the second,
    // later, finds out whether the loop is still running and closes the NPC
    // window. The timers go with this test, so none fires in the next one.
    bool secondStepRan = false;
    QTimer first;
    QTimer second;
    QTimer safety;
    connect(&first, &QTimer::timeout, [&] { exit ? form.ex->trigger() : void(form.close()); });
    connect(&second, &QTimer::timeout, [&] {
        secondStepRan = true;
        QVERIFY(!form.isVisible() && npc && npc->isVisible());
        npc->close();
    });
    connect(&safety, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    for (QTimer* t : {&first, &second, &safety})
        t->setSingleShot(true);
    first.start(0);
    second.start(200);
    safety.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(secondStepRan, !exit);
    QVERIFY(!form.isVisible());
    QVERIFY(!npc || !npc->isVisible());
}

QTEST_MAIN(TestNpc)
#include "tst_npc.moc"
