// The NPC window and its Generate command, with scripted and with real draws.
#include "choicebox.h"
#include "form1.h"
#include "form2.h"
#include "npcstats.h"
#include "testsupport.h"
#include "wordlist.h"

namespace {

const QString kDemonFile = "\\data\\demon\\demon_names.quillmere";
const QString kGaelicFile = "\\data\\gaelic\\gaelic_male.quillmere";

// The statistic boxes in the order they are rolled, with the lowest and highest value each
// may show at Easy, Medium and Hard.
constexpr struct Range {
    const char* box;
    int lo[3], hi[3];
} kRanges[] = {
    {"npc_maxhp", {100, 1000, 5000}, {499, 1999, 9999}},
    {"npc_maxsp", {100, 1000, 1000}, {499, 1499, 1699}},
    {"npc_intel", {10, 70, 100}, {49, 149, 169}},
    {"npc_atp", {100, 110, 120}, {109, 199, 249}},
    {"npc_strength", {30, 80, 100}, {49, 169, 199}},
    {"npc_pdef", {80, 90, 100}, {99, 139, 159}},
    {"npc_mdef", {80, 90, 100}, {104, 139, 159}},
    {"npc_dex", {30, 90, 100}, {49, 139, 159}},
    {"npc_agility", {40, 100, 100}, {59, 139, 159}},
    {"npc_evasion", {0, 0, 0}, {0, 0, 0}},
    {"npc_exp", {1, 55, 130}, {14, 89, 199}},
    {"npc_money", {5, 80, 150}, {29, 149, 399}},
};

// The name and the twelve statistics in rolling order, then the difficulty.
QString contents(const Form2& npc)
{
    QStringList texts{npc.npc_name->text()};
    for (const Range& range : kRanges)
        texts << npc.findChild<QLineEdit*>(range.box)->text();
    return (texts << npc.npc_diff->currentText()).join(' ');
}

} // namespace

class TestNpc : public QObject {
    Q_OBJECT
private slots:
    // Numbers must stay plain digits even where the default locale groups them.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void press_data()
    {
        // Typed with the keys, then left by clicking "Generate"; the values a fixed run of
        // draws gives, in rolling order, or the boxes as they were ("-") where the text names
        // no difficulty.
        QTest::addColumn<QString>("values");
        QTest::newRow("Easy") << "484 453 40 103 43 84 82 35 45 0 9 17";
        QTest::newRow("Medium") << "1937 1359 121 187 148 118 109 100 105 0 59 89";
        QTest::newRow("Hard") << "9687 1540 138 234 175 135 125 115 120 0 131 237";
        for (const char* text : {"easy", "EASY", "HARD", " Easy", "Medium ", "Hard "})
            QTest::newRow(text) << "- - - - - - - - - - - -";
    }

    void press()
    {
        QFETCH(QString, values);
        const QString text = QTest::currentDataTag();
        const int level = QStringList{"Easy", "Medium", "Hard"}.indexOf(text);
        TempExeDir exe;
        exe.write(kDemonFile, QStringList{"Baal", "Agares"});
        exe.write(kGaelicFile, QStringList{"Aodh"});
        Form2 npc;
        npc.show();
        QApplication::setActiveWindow(&npc);
        npc.npc_diff->lineEdit()->setFocus();
        npc.npc_diff->clearEditText();
        QTest::keyClicks(npc.npc_diff->lineEdit(), text);
        for (const Range& range : kRanges)
            npc.findChild<QLineEdit*>(range.box)->setText("-");

        // Real draws give every value from the lowest to the highest, and no other. Presses:
        // the widest range (400, 1000, 5000 values) misses one with odds below 10^-8,
        // n > m (ln m + 20).
        const int presses = level < 0 ? 0 : std::array{12000, 30000, 150000}[level];
        QSet<QString> seen, range;
        for (int i = 0; presses && i < 12; ++i)
            for (int v = kRanges[i].lo[level]; v <= kRanges[i].hi[level]; ++v)
                range << kRanges[i].box + QString(" %1").arg(v);
        for (int p = 0; p < presses; ++p) {
            npc.Command1->click();
            for (const Range& r : kRanges)
                seen << r.box + (" " + npc.findChild<QLineEdit*>(r.box)->text());
        }
        QVERIFY2(seen == range, qPrintable(((seen - range) + (range - seen)).values().join(',')));

        // The largest draw picks the last name; Max Hp's first try (0) misses its floor; then
        // one accepted draw per statistic, Evasion's too. Spare draws would show in the count.
        // An unrecognised text takes the name's draw only and leaves the boxes as they were.
        ScriptedDraws scripted({kLargestBelowOne, 0.0f, 0.96875f, 0.90625f, 0.8125f, 0.9375f,
                                0.875f, 0.84375f, 0.78125f, 0.71875f, 0.75f, 0.5f, 0.65625f,
                                0.59375f, 0.5f, 0.5f});
        QTest::mouseClick(npc.Command1, Qt::LeftButton);
        QVERIFY(npc.Command1->hasFocus()); // the difficulty field has been left
        QCOMPARE(scripted.used, level < 0 ? 1 : 14);
        QCOMPARE(contents(npc), "Aodh " + values + " " + text);

        // 10000 × 0.9999f is 9998.9998, but 9999 once rounded to single precision.
        ScriptedDraws single({0.9999f});
        QCOMPARE(RollStat(10000, 5000), 9999);
    }

    void window()
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
            QVERIFY2(Fits(label, label->text()) && (label->alignment() & Qt::AlignRight),
                     qPrintable(label->text()));
        // Focus starts in the name; Tab walks the rest and comes back to the name.
        QApplication::setActiveWindow(&npc);
        QTRY_COMPARE(QApplication::focusWidget(), npc.npc_name);
        QString visited;
        for (int i = 0; i < 15; ++i, visited += QApplication::focusWidget()->objectName() + ' ')
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(visited, "npc_maxhp npc_maxsp npc_strength npc_dex npc_agility npc_intel "
                          "npc_atp npc_pdef npc_mdef npc_evasion npc_exp npc_money npc_diff "
                          "Command1 npc_name ");
    }

    void withMainWindow()
    {
        ShippedExeDir exe;
        const QStringList names = ShippedLines(kDemonFile) + ShippedLines(kGaelicFile);
        Form1 form;
        form.show();
        // Open, close, open: fresh each time, demon then Gaelic male names; a second "Npc Stats"
        // changes nothing.
        QPointer<Form2> npc;
        for (int opening = 0; opening < 2; ++opening) {
            QVERIFY(!npc || npc->close());
            QTRY_VERIFY(npc.isNull());
            form.npcstat->trigger();
            npc = qobject_cast<Form2*>(form.npcWindow());
            QVERIFY(npc && npc->isVisible() &&
                    npc->windowIcon().pixmap(32).toImage() ==
                        form.windowIcon().pixmap(32).toImage());
            QCOMPARE(contents(*npc), QString(13, ' ') + "Easy");
            npc->Command1->click();
            npc->npc_diff->setEditText("Hard");
            const QString before = contents(*npc);
            form.npcstat->trigger();
            QVERIFY(form.npcWindow() == npc && contents(*npc) == before);
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
};

QTEST_MAIN(TestNpc)
#include "tst_npc.moc"
