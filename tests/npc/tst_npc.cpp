// The NPC window on its own: its layout, its names, and Generate at every difficulty and with
// typed text.
#include "choicebox.h"
#include "form2.h"
#include "guitestsupport.h"
#include "wordlist.h"

namespace {

const QString kDemonFile = "\\data\\demon\\demon_names.quillmere";
const QString kGaelicFile = "\\data\\gaelic\\gaelic_male.quillmere";

// The statistic boxes in the order they are rolled.
const QStringList kBoxes = QString("npc_maxhp npc_maxsp npc_intel npc_atp npc_strength npc_pdef "
                                   "npc_mdef npc_dex npc_agility npc_evasion npc_exp npc_money")
                               .split(' ');

// The name and the statistics in rolling order.
QString contents(const Form2& npc)
{
    QString texts = npc.npc_name->text();
    for (const QString& box : kBoxes)
        texts += " " + npc.findChild<QLineEdit*>(box)->text();
    return texts;
}

} // namespace

class TestNpc : public QObject {
    Q_OBJECT
private slots:
    // Numbers must stay plain digits even where the default locale groups them.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void window()
    {
        // Without name files: one box names both, once the window is up.
        TempExeDir exe;
        QString told;
        AnswerNextModal(told, [](QMessageBox* box) { box->accept(); });
        RandomSource::Seed(1);
        Form2 npc;
        npc.show();
        QTRY_COMPARE(told, "Quillmere|Quillmere could not read these word lists:\n\n" +
                               exe.full(kDemonFile) + ": No such file or directory\n" +
                               exe.full(kGaelicFile) + ": No such file or directory");
        QCOMPARE(npc.windowTitle() + QString::number(npc.windowType()), "NPC Stats Generator11");
        QVERIFY(npc.minimumSize() == QSize(215, 273) && npc.maximumSize() == QSize(215, 273));
        const QString layout =
            "Label1:120,120,585,195 npc_name:840,120,2295,285 Label2:0,480,720,195 "
            "npc_maxhp:840,480,615,285 Label3:0,840,720,195 npc_maxsp:840,840,615,285 "
            "Label4:0,1200,720,195 npc_strength:840,1200,615,285 Label5:0,1560,720,195 "
            "npc_dex:840,1560,615,285 Label6:0,1920,720,195 npc_agility:840,1920,615,285 "
            "Label7:1560,480,840,195 npc_intel:2520,480,615,285 Label8:1560,840,840,195 "
            "npc_atp:2520,840,615,285 Label9:1560,1200,840,195 npc_pdef:2520,1200,615,285 "
            "Label10:1440,1560,960,195 npc_mdef:2520,1560,615,285 Label11:1560,1920,840,195 "
            "npc_evasion:2520,1920,615,285 Label12:0,2280,720,195 npc_exp:840,2280,615,285 "
            "Label13:1680,2280,720,195 npc_money:2520,2280,615,285 Frame1:120,2640,3015,855 "
            "npc_diff:1080,3000,1935,315 Label14:240,3000,720,195 "
            "Command1:120,3600,3015,375";
        QCOMPARE(Layout(&npc, layout), layout);
        // Every caption shows whole, right-aligned against its box.
        QStringList captions{npc.Frame1->title(), npc.Command1->text()};
        for (QLabel* label : npc.findChildren<QLabel*>()) {
            QVERIFY2(Fits(label, label->text()) && (label->alignment() & Qt::AlignRight),
                     qPrintable(label->text()));
            captions << label->text();
        }
        QCOMPARE(captions.join('|'), "Generation Properties|Generate|Name:|Max Hp:|Max Sp:|"
                                     "Strength:|Dexterity:|Agility:|Intelligence:|Atk Power:|"
                                     "P. Defense:|M. Defense:|Evasion:|Exp:|M. Drop:|Difficulty:");
        // Focus starts in the name; Tab walks the rest and comes back to the name.
        QApplication::setActiveWindow(&npc);
        QTRY_COMPARE(QApplication::focusWidget(), npc.npc_name);
        QCOMPARE(TabWalk(15), "npc_maxhp npc_maxsp npc_strength npc_dex npc_agility npc_intel "
                              "npc_atp npc_pdef npc_mdef npc_evasion npc_exp npc_money npc_diff "
                              "Command1 npc_name");
        // A new window reseeds from the clock: after the same seed it rolls other statistics.
        npc.Command1->click();
        RandomSource::Seed(1);
        ProblemCatcher quiet;
        Form2 again;
        again.Command1->click();
        QVERIFY(contents(again).section(' ', 1) != contents(npc).section(' ', 1));
    }

    void press_data()
    {
        // The difficulty as typed, never chosen from the list; the lowest and highest value of
        // each statistic in rolling order, or the boxes as they were ("-") where the text names
        // no difficulty.
        QTest::addColumn<QString>("lowest");
        QTest::addColumn<QString>("highest");
        QTest::newRow("Easy") << "100 100 10 100 30 80 80 30 40 0 1 5"
                              << "499 499 49 109 49 99 104 49 59 0 14 29";
        QTest::newRow("Medium") << "1000 1000 70 110 80 90 90 90 100 0 55 80"
                                << "1999 1499 149 199 169 139 139 139 139 0 89 149";
        QTest::newRow("Hard") << "5000 1000 100 120 100 100 100 100 100 0 130 150"
                              << "9999 1699 169 249 199 159 159 159 159 0 199 399";
        const QString unchanged = QString("- ").repeated(12).trimmed();
        for (const char* text : {"easy", "EASY", "HARD", " Easy", "Medium ", "Hard ", "Elvish"})
            QTest::newRow(text) << unchanged << unchanged;
    }

    void press()
    {
        QFETCH(QString, lowest);
        QFETCH(QString, highest);
        TempExeDir exe;
        exe.write(kDemonFile, QStringList{"Baal", "Agares"});
        exe.write(kGaelicFile, QStringList{"Aodh"});
        Form2 npc;
        npc.show();
        QApplication::setActiveWindow(&npc);
        npc.npc_diff->setFocus();
        npc.npc_diff->clearEditText();
        QTest::keyClicks(npc.npc_diff->lineEdit(), QTest::currentDataTag());
        for (const QString& box : kBoxes)
            npc.findChild<QLineEdit*>(box)->setText("-");
        // Two presses. The largest draw picks the last name; then for each statistic half a
        // value below its floor, drawn again, and half a value above. Then the first name, and
        // 0.9999 for each statistic: its highest value, 9999 of 10000 once rounded to single
        // precision. Text that names no difficulty takes the name's draw only.
        QList<float> draws{kLargestBelowOne};
        for (int i = 0; i < 12 && lowest[0] != '-'; ++i) {
            const float lo = lowest.section(' ', i, i).toInt(),
                        ceiling = highest.section(' ', i, i).toInt() + 1;
            if (lo > 0)
                draws << (lo - 0.5f) / ceiling;
            draws << (lo + 0.5f) / ceiling;
        }
        ScriptedDraws scripted(draws + QList<float>{0}, 0.9999f);
        for (const QString& press :
             {QString("Aodh %1 %2").arg(lowest).arg(draws.size()),
              QString("Baal %1 %2").arg(highest).arg(draws.size() + (lowest[0] == '-' ? 1 : 13))}) {
            QTest::mouseClick(npc.Command1, Qt::LeftButton);
            QCOMPARE(QString("%1 %2").arg(contents(npc)).arg(scripted.used), press);
        }
        QVERIFY(npc.Command1->hasFocus() && npc.npc_diff->currentText() == QTest::currentDataTag());
    }
};

QTEST_MAIN(TestNpc)
#include "tst_npc.moc"
