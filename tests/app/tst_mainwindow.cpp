// The main window as a user drives it through one session: start-up, every mode by toolbar and
// by menu, every nationality and gender, typed text, the result box, the NPC window and Exit.
#include "choicebox.h"
#include "form1.h"
#include "form2.h"
#include "resultbox.h"
#include "testsupport.h"

namespace {

// The lines of a shipped list under data/ (none for ""), joined by commas.
QString lines(const QString& name)
{
    return ShippedLines("\\data\\" + name + ".quillmere").join(',');
}

// Everything a mode switch or a choice may change, in one comparable text.
QString stateOf(const Form1& f)
{
    const int shown = f.char_sex->isVisible() + f.char_lang2->isVisible() +
                      f.char_genderL->isVisible() + f.char_nationL->isVisible() +
                      f.thelang->isVisible();
    return QString("%1|%2|%3|%4|%5|%6|%7|%8|%9%10")
        .arg(f.thething->text())
        .arg(shown)
        .arg(f.prim_words->words().entries().join(','), f.second_words->words().entries().join(','),
             f.Text2->text(), f.thelang->text(), f.char_lang2->currentText(),
             f.char_sex->currentText())
        .arg(f.char_lang2->count())
        .arg(f.char_sex->count());
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void session()
    {
        ShippedExeDir exe;
        ProblemCatcher catcher;
        Form1 form;
        form.show();
        QTRY_COMPARE(QApplication::focusWidget(), form.prim_words);
        QCOMPARE(stateOf(form), "Random Game Title|0|" + lines("adjectives-ect") + "|" +
                                    lines("nouns-ect") + "||english|English|Male|52");
        QVERIFY(form.centralWidget()->size() == QSize(577, 324) &&
                form.minimumSize() == form.maximumSize());
        const QString layout =
            "Buttons:0,0,8655,480 Label1:120,600,2175,375 Label2:6360,600,2175,375 "
            "thelang:4920,600,1575,285 prim_words:120,960,2175,3765 thething:2280,960,3975,375 "
            "second_words:6360,960,2175,3765 char_genderL:2400,1560,1815,255 "
            "char_nationL:4320,1560,1935,255 char_sex:2400,1800,1815,315 "
            "char_lang2:4320,1800,1935,315 Text2:2400,2280,3855,405 Command1:2400,2760,3855,495";
        QCOMPARE(Layout(form.centralWidget(), layout), layout);
        QVERIFY(Fits(form.Command1, form.Command1->text()));
        for (QLabel* label : form.findChildren<QLabel*>())
            QVERIFY2(Fits(label, label->text()), qPrintable(label->text()));
        QStringList menus{form.windowTitle()};
        for (QAction* menu : form.menuBar()->actions())
            for (QAction* item : menu->menu()->actions())
                menus << menu->text() + ": " + item->text() + " " + item->shortcut().toString();
        QCOMPARE(menus.join('|'),
                 "Quillmere|File: Exit |Select Generate Mode: Game Title |Select Generate Mode: "
                 "Character Name |Select Generate Mode: Item Name |Select Generate Mode: "
                 "Equipment Name |Select Generate Mode: Skill Name |Select Generate Mode: Npc "
                 "Stats |Help: Contents F1");

        // A nationality, a gender and a result that no switch may touch.
        form.cn->trigger();
        Choose(form.char_lang2, "Greek");
        Choose(form.char_sex, "Female");
        form.Text2->setText("Kalliopi Georgiou");
        QCOMPARE(TabWalk(6), "Command1 Text2 second_words char_sex char_lang2 prim_words");
        // Each mode by its toolbar button, then again by its menu item, which reads the lists
        // afresh and so drops a selection; in "Character Name" the male names, whatever the
        // gender shows. Each button shows a picture of its own.
        const char* modes[] = {
            "Game Title Generator|Random Game Title|0|adjectives-ect|nouns-ect",
            "Character Name Generator|Random Character|4|greek\\male_firstnames|greek\\surnames",
            "Item Name Generator|Random Item Name|0|items-des-ect|items-objects",
            "Equipment Name Generator|Random Equipment|0|equipment-ect|equipment-objects",
            "Skill Name Generator|Random Skill Name|0|skills-des-ect|skills-objects"};
        QList<QImage> pictures;
        for (int n = 4; n >= 0; --n) {
            const QStringList mode = QString(modes[n]).split('|');
            const QString state = mode[1] + "|" + mode[2] + "|" + lines(mode[3]) + "|" +
                                  lines(mode[4]) + "|Kalliopi Georgiou|greek|Greek|Female|52";
            QAction* button = form.Buttons->actions()[n];
            QTest::mouseClick(form.Buttons->widgetForAction(button), Qt::LeftButton);
            QCOMPARE(button->toolTip() + "|" + stateOf(form), mode[0] + "|" + state);
            form.prim_words->setCurrentIndex(form.prim_words->model()->index(1, 0));
            form.sgm->actions()[n]->trigger();
            QCOMPARE(stateOf(form), state);
            QVERIFY(!form.prim_words->selectionModel()->hasSelection());
            QVERIFY(Fits(form.thething, form.thething->text()));
            QVERIFY(!pictures.contains(button->icon().pixmap(24).toImage()));
            pictures << button->icon().pixmap(24).toImage();
        }

        // Each nationality chosen twice, with the mouse then with the keys: it never
        // accumulates, and always resets the gender. Generate overwrites the result with a
        // first name, one space, and a surname or nothing.
        form.cn->trigger();
        QString result = "Kalliopi Georgiou";
        const char* const nationalities[] = {
            "English|english\\male_firstnames|english\\female_firstnames|english\\surnames",
            "Greek|greek\\male_firstnames|greek\\female_firstnames|greek\\surnames",
            "Japanese|japanese\\male_firstnames|japanese\\female_firstnames|japanese\\surnames",
            "Gaelic|gaelic\\gaelic_male|gaelic\\gaelic_female|",
            "Demon|demon\\demon_names|demon\\demon_names|"};
        for (const char* row : nationalities) {
            const QStringList files = QString(row).split('|');
            const QString nationality = files[0], surnames = lines(files[3]);
            const QString state = "Random Character|4|%1|" + surnames + "|%2|" +
                                  nationality.toLower() + "|" + nationality + "|%3|52";
            for (const bool keyboard : {false, true}) {
                Choose(form.char_lang2, nationality, keyboard);
                QCOMPARE(stateOf(form), state.arg(lines(files[1]), result, "Male"));
                for (const QString gender : {"Female", "Male", "Female"}) {
                    Choose(form.char_sex, gender, keyboard);
                    QVERIFY(Fits(form.char_lang2, nationality) && Fits(form.char_sex, gender));
                    const QString first = lines(files[gender == "Male" ? 1 : 2]);
                    ScriptedDraws draws({kLargestBelowOne, 0.0f});
                    form.Command1->click();
                    result = first.section(',', -1) + " " + surnames.section(',', 0, 0);
                    QCOMPARE(stateOf(form), state.arg(first, result, gender));
                }
            }
        }

        // Typed text is never a choice, not even an entry's own, with Return or without: it
        // loads nothing, is neither completed nor added, and stays as typed. Choosing a
        // nationality then shows "Male" over a typed gender, even where "Male" is the choice
        // already made under the typed text.
        Choose(form.char_sex, "Male");
        const QString demon = stateOf(form);
        for (const auto& [box, keys] : {std::pair<ChoiceBox*, QString>{form.char_sex, "female\r"},
                                        {form.char_lang2, "Gaelic"}}) {
            box->setFocus();
            box->clearEditText();
            QTest::keyClicks(box->lineEdit(), keys);
            QTest::mouseClick(form.Text2, Qt::LeftButton); // leaves the box
        }
        QCOMPARE(stateOf(form), QString(demon).replace("|Demon|Male|", "|Gaelic|female|"));
        Choose(form.char_lang2, "Gaelic");
        QCOMPARE(stateOf(form), "Random Character|4|" + lines("gaelic\\gaelic_male") + "||" +
                                    result + "|gaelic|Gaelic|Male|52");

        // A click selects the whole result. A double-click asks; Yes copies what the box holds
        // when answered, No copies nothing.
        for (const bool yes : {false, true}) {
            QTest::mouseClick(form.Text2, Qt::LeftButton, {}, QPoint(5, 13));
            QCOMPARE(form.Text2->selectedText(), result);
            QGuiApplication::clipboard()->setText("before");
            QString asked;
            AnswerNextModal(asked, [&](QMessageBox* box) {
                form.Text2->setText(result += "!");
                QTest::keyClick(box, yes ? Qt::Key_Return : Qt::Key_Escape);
            });
            QTest::mouseDClick(form.Text2, Qt::LeftButton, {}, QPoint(200, 13));
            QCOMPARE(asked, "Warning!|Are you sure you want to add the generation to clipboard?");
            QCOMPARE(QGuiApplication::clipboard()->text() + "|" + form.Text2->selectedText(),
                     yes ? result + "|" + result : "before|");
        }

        // "Npc Stats" opens one NPC window, brings it forward while it is open, and opens it
        // afresh once it is closed.
        QPointer<Form2> npc;
        for (int opening = 0; opening < 2; ++opening) {
            QVERIFY(!npc || npc->close());
            QTRY_VERIFY(npc.isNull());
            form.npcstat->trigger();
            npc = qobject_cast<Form2*>(form.npcWindow());
            QVERIFY(npc && npc->isVisible() &&
                    npc->windowIcon().pixmap(32).toImage() ==
                        form.windowIcon().pixmap(32).toImage());
            npc->Command1->click();
            const QString shown = npc->npc_maxhp->text();
            form.npcstat->trigger();
            QVERIFY(form.npcWindow() == npc && npc->npc_maxhp->text() == shown);
        }
        // With the main window closed the program runs on until the NPC window closes too.
        QTimer::singleShot(0, &form, [&] { form.close(); });
        QTimer::singleShot(200, &form, [&] { npc->close(); });
        QTimer::singleShot(5000, &form, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!npc || !npc->isVisible());
        // "Exit" with both open ends the program and closes both.
        form.show();
        form.npcstat->trigger();
        QTimer::singleShot(0, &form, [&] { form.ex->trigger(); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!form.isVisible() && !form.npcWindow()->isVisible());
        QCOMPARE(catcher.messages, QStringList());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
