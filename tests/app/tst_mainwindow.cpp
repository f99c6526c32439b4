// The main window as the user drives it: start-up, modes, nationality and
// gender choices, names, and the help it opens.
#include "choicebox.h"
#include "form1.h"
#include "resultbox.h"
#include "testsupport.h"
#include "wordlist.h"

namespace {

// A shipped list by its place under data/, and its lines.
QString data(const QString& name)
{
    return name.isEmpty() ? QString() : "\\data\\" + name + ".quillmere";
}
QString lines(const QString& name)
{
    return ShippedLines(data(name)).join(',');
}

// Each nationality as the drop-down shows it, and the male, female and surname lists it reads.
const char* const kNationalities[][4] = {
    {"English", "english\\male_firstnames", "english\\female_firstnames", "english\\surnames"},
    {"Greek", "greek\\male_firstnames", "greek\\female_firstnames", "greek\\surnames"},
    {"Japanese", "japanese\\male_firstnames", "japanese\\female_firstnames", "japanese\\surnames"},
    {"Gaelic", "gaelic\\gaelic_male", "gaelic\\gaelic_female", ""},
    {"Demon", "demon\\demon_names", "demon\\demon_names", ""}};

// Picks `text` from the popup as a user would, with the mouse or the keyboard.
void choose(QComboBox* combo, const QString& text, bool keyboard = false)
{
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex item = view->model()->index(combo->findText(text), 0);
    view->setCurrentIndex(item);
    if (keyboard)
        QTest::keyClick(view, Qt::Key_Return);
    else
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    QTRY_VERIFY(!view->isVisible());
}

// Everything a mode switch or a choice may change, in one comparable text.
QString stateOf(const Form1& form)
{
    const int shown = form.char_sex->isVisible() + form.char_lang2->isVisible() +
                      form.char_genderL->isVisible() + form.char_nationL->isVisible() +
                      form.thelang->isVisible();
    return form.thething->text() + "|" + QString::number(shown) + "|" +
           form.prim_words->words().entries().join(',') + "|" +
           form.second_words->words().entries().join(',') + "|" + form.Text2->text() + "|" +
           form.thelang->text() + "|" + form.char_lang2->currentText() + "|" +
           form.char_sex->currentText();
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    // One window through start-up, every mode by toolbar (checked against a second window driven
    // by the menu), then every nationality and gender.
    void startUpModesAndNames()
    {
        ShippedExeDir exe;
        Form1 form, byMenu;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QApplication::setActiveWindow(&form);
        QTRY_COMPARE(QApplication::focusWidget(), form.prim_words);
        QCOMPARE(stateOf(form), "Random Game Title|0|" + lines("adjectives-ect") + "|" +
                                    lines("nouns-ect") + "||english|English|Male");
        QCOMPARE(form.centralWidget()->size(), QSize(577, 324));
        QCOMPARE(form.minimumSize(), form.maximumSize());

        // Every caption fits its box; mode titles and choices are checked where they show.
        QVERIFY(Fits(form.Command1, form.Command1->text()));
        for (QLabel* label : form.findChildren<QLabel*>())
            QVERIFY2(Fits(label, label->text()), qPrintable(label->text()));

        // Tab visits the controls that take focus, each with a name to read out.
        QString tabs;
        for (QWidget* w = form.prim_words; tabs.count('|') < 5; w = QApplication::focusWidget()) {
            tabs += w->objectName() + ":" + w->accessibleName() + "|";
            QTest::keyClick(w, Qt::Key_Tab);
        }
        QCOMPARE(tabs, "prim_words:Primary Words|Command1:Generate|Text2:Result|"
                       "second_words:Secondary Words|prim_words:Primary Words|");

        // Return and Escape press no button.
        form.Text2->setText("typed");
        QTest::keyClick(form.Text2, Qt::Key_Return);
        QTest::keyClick(form.Text2, Qt::Key_Escape);
        QCOMPARE(form.Text2->text(), QString("typed"));

        // A nationality, a gender and a result that no switch may touch.
        for (Form1* f : {&form, &byMenu}) {
            f->show();
            f->cn->trigger();
            choose(f->char_lang2, "Greek");
            choose(f->char_sex, "Female");
            f->Text2->setText("Kalliopi Georgiou");
        }
        // Each mode's title, how many character controls it shows, and its two lists; in
        // "Character Name" mode the male names, whatever the gender shows.
        const char* modes[][3] = {
            {"Random Game Title|0", "adjectives-ect", "nouns-ect"},
            {"Random Character|4", "greek\\male_firstnames", "greek\\surnames"},
            {"Random Item Name|0", "items-des-ect", "items-objects"},
            {"Random Equipment|0", "equipment-ect", "equipment-objects"},
            {"Random Skill Name|0", "skills-des-ect", "skills-objects"}};
        QAction* items[] = {byMenu.gt, byMenu.cn, byMenu.in, byMenu.en, byMenu.sn};
        for (int n = 4; n >= 0; --n) {
            QTest::mouseClick(form.Buttons->widgetForAction(form.Buttons->actions()[n]),
                              Qt::LeftButton);
            items[n]->trigger();
            QVERIFY2(Fits(byMenu.thething, byMenu.thething->text()), modes[n][0]);
            QCOMPARE(stateOf(form), stateOf(byMenu));
            QCOMPARE(stateOf(byMenu),
                     QString("%1|%2|%3|Kalliopi Georgiou|greek|Greek|Female")
                         .arg(modes[n][0], lines(modes[n][1]), lines(modes[n][2])));
        }

        // Each nationality chosen twice, with the mouse then with the keys, starting from Greek
        // and "Female": it never accumulates, and always resets the gender. Generate overwrites
        // the result with a first name, one space, and a surname or nothing.
        form.cn->trigger();
        QString result = "Kalliopi Georgiou"; // no choice touches it
        for (const auto& row : kNationalities) {
            const QString nationality = row[0], surnames = lines(row[3]);
            const QString state = "Random Character|4|%1|" + surnames + "|%2|" +
                                  nationality.toLower() + "|" + nationality + "|%3";
            for (const bool keyboard : {false, true}) {
                choose(form.char_lang2, nationality, keyboard);
                QCOMPARE(stateOf(form), state.arg(lines(row[1]), result, "Male"));
                for (const QString gender : {"Female", "Male", "Female"}) {
                    choose(form.char_sex, gender, keyboard);
                    QVERIFY(Fits(form.char_lang2, nationality) && Fits(form.char_sex, gender));
                    const QStringList first = ShippedLines(data(row[gender == "Male" ? 1 : 2]));
                    ScriptedDraws draws({kLargestBelowOne, 0.0f});
                    form.Command1->click();
                    result = first.last() + " " + surnames.section(',', 0, 0);
                    QCOMPARE(stateOf(form), state.arg(first.join(','), result, gender));
                }
            }
        }
    }

    void fewFiles()
    {
        TempExeDir exe; // no title words
        exe.write(data("english\\male_firstnames"), QStringList{"Tom"});
        exe.write(data("english\\surnames"), QStringList{"Baker"});
        QString shown;
        AnswerNextModal([&](QWidget* w) {
            shown = w->windowTitle() + "|" + qobject_cast<QMessageBox*>(w)->text();
            qobject_cast<QMessageBox*>(w)->button(QMessageBox::Ok)->click();
        });
        Form1 form;
        form.show();
        QTRY_VERIFY2(shown.startsWith("Quillmere|"), qPrintable(shown));
        for (const char* file : {"adjectives-ect", "nouns-ect"})
            QVERIFY2(shown.contains(exe.full(data(file)) + ": No such file or directory"),
                     qPrintable(shown));
        // The window still works, and picks the files up once they are there.
        ProblemCatcher catcher;
        form.Command1->click();
        QCOMPARE(form.Text2->text(), QString(" "));
        exe.write(data("items-des-ect"), QStringList{"Gilded"});
        exe.write(data("items-objects"), QStringList{"Chalice"});
        form.in->trigger();
        form.Command1->click();
        QCOMPARE(form.Text2->text(), QString("Gilded Chalice"));
        QApplication::setActiveWindow(&form);
        form.cn->trigger();
        form.Text2->clear();
        const QString before = stateOf(form);
        // Texts that match an entry ignoring case, exactly, or not at all: leaving the field or
        // pressing Return is never a choice, and the typed text stays as typed.
        for (ChoiceBox* box : {form.char_lang2, form.char_sex})
            for (const QString typed : {"gaelic", "Gaelic", " Demon", "female", "Female", "Elvish"})
                for (const QString end : {"", "\r"}) {
                    box->setFocus();
                    QTRY_VERIFY(box->hasFocus());
                    box->clearEditText();
                    QTest::keyClicks(box->lineEdit(), typed + end);
                    QTest::mouseClick(form.Text2, Qt::LeftButton);
                    QTRY_VERIFY(!box->hasFocus());
                    QCOMPARE(box->currentText(), typed);
                    box->setEditText(box == form.char_sex ? "Male" : "English");
                    QCOMPARE(stateOf(form), before);
                }
        // A key that is not one of the five leaves both lists alone; a gender chosen with it
        // empties the first names and keeps the surnames.
        form.thelang->setText("English");
        form.LoadCharacterWords();
        QCOMPARE(stateOf(form), QString(before).replace("|english|", "|English|"));
        choose(form.char_sex, "Female");
        QCOMPARE(stateOf(form), QString("Random Character|4||Baker||English|English|Female"));
        form.thelang->setText("english");
        // The mode chosen again reads its files afresh.
        exe.write(data("english\\surnames"), QStringList{"Baker", "Cooper"});
        form.cn->trigger();
        QCOMPARE(form.second_words->words().entries(), (QStringList{"Baker", "Cooper"}));
        QCOMPARE(catcher.messages, QStringList());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
