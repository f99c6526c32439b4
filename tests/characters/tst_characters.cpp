// Mode switching, nationality and gender choices, and character names, on
// the main window as the user drives it.
#include "choicebox.h"
#include "form1.h"
#include "nationalities.h"
#include "resultbox.h"
#include "testsupport.h"
#include "wordlist.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QtTest>

namespace {

// Picks `text` from the drop-down as a user would: with the mouse from the
// popup, or with the arrow keys (Alt+Down and Return for the entry shown).
void choose(QComboBox* combo, const QString& text, bool keyboard)
{
    const int target = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY(target >= 0);
    combo->setFocus();
    if (keyboard && target != combo->currentIndex()) {
        while (combo->currentIndex() != target)
            QTest::keyClick(combo, target > combo->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
        return;
    }
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    if (keyboard)
        QTest::keyClick(view, Qt::Key_Return);
    else
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(view->model()->index(target, 0)).center());
    QTRY_VERIFY(!view->isVisible());
}

// Everything a mode switch or a choice may change, in one comparable text.
QString stateOf(const Form1& form)
{
    QStringList shown;
    for (QWidget* w :
         {static_cast<QWidget*>(form.char_sex), static_cast<QWidget*>(form.char_lang2),
          static_cast<QWidget*>(form.char_genderL), static_cast<QWidget*>(form.char_nationL)})
        shown << (w->isVisible() ? "shown" : "hidden");
    return QStringList{form.thething->text(),
                       shown.join(','),
                       form.prim_words->words().entries().join(','),
                       form.second_words->words().entries().join(','),
                       form.Text2->text(),
                       form.thelang->text(),
                       form.char_lang2->currentText(),
                       form.char_sex->currentText()}
        .join('|');
}

} // namespace

class TestCharacters : public QObject {
    Q_OBJECT
private slots:
    void toolbarAndMenuAgree();
    void sameModeReloadsFromDisk();
    void nationalitiesAndGenders_data();
    void nationalitiesAndGenders();
    void typedTextIsNoChoice();
};

void TestCharacters::toolbarAndMenuAgree()
{
    ShippedExeDir exe;
    Form1 byToolbar;
    Form1 byMenu;
    byToolbar.show();
    byMenu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&byToolbar));
    QAction* items[] = {byMenu.gt, byMenu.cn, byMenu.in, byMenu.en, byMenu.sn};
    const char* titles[] = {"Random Game Title", "Random Character", "Random Item Name",
                            "Random Equipment", "Random Skill Name"};
    // Visit every mode from every other, with a changed nationality and gender
    // and a result that no switch may touch.
    for (Form1* form : {&byToolbar, &byMenu}) {
        form->cn->trigger();
        choose(form->char_lang2, "Greek", false);
        choose(form->char_sex, "Female", false);
        form->Text2->setText("Kalliopi Georgiou");
    }
    for (int from = 1; from <= 5; ++from) {
        for (int to = 1; to <= 5; ++to) {
            byToolbar.SwitchMode(from);
            byMenu.SwitchMode(from);
            QTest::mouseClick(
                byToolbar.Buttons->widgetForAction(byToolbar.Buttons->actions()[to - 1]),
                Qt::LeftButton);
            items[to - 1]->trigger();
            QCOMPARE(stateOf(byToolbar), stateOf(byMenu));
            QCOMPARE(byMenu.thething->text(), QString(titles[to - 1]));
        }
    }
    const QString greek = ShippedLines("\\data\\greek\\male_firstnames.quillmere").join(',');
    const QString surnames = ShippedLines("\\data\\greek\\surnames.quillmere").join(',');
    QCOMPARE(stateOf(byMenu),
             QStringList({"Random Skill Name", "hidden,hidden,hidden,hidden",
                          ShippedLines("\\data\\skills-des-ect.quillmere").join(','),
                          ShippedLines("\\data\\skills-objects.quillmere").join(','),
                          "Kalliopi Georgiou", "greek", "Greek", "Female"})
                 .join('|'));
    // Back in "Character Name" mode: the male names, whatever the gender shows.
    byMenu.cn->trigger();
    QCOMPARE(stateOf(byMenu),
             QStringList({"Random Character", "shown,shown,shown,shown", greek, surnames,
                          "Kalliopi Georgiou", "greek", "Greek", "Female"})
                 .join('|'));
}

void TestCharacters::sameModeReloadsFromDisk()
{
    TempExeDir exe;
    exe.write("\\data\\adjectives-ect.quillmere", QStringList{"Old"});
    exe.write("\\data\\nouns-ect.quillmere", QStringList{"Saga"});
    exe.write("\\data\\english\\male_firstnames.quillmere", QStringList{"Tom"});
    Form1 form;
    exe.write("\\data\\adjectives-ect.quillmere", QStringList{"New", "Newer"});
    form.gt->trigger();
    QCOMPARE(form.prim_words->words().entries(), (QStringList{"New", "Newer"}));
    ProblemCatcher catcher; // no surnames yet
    form.cn->trigger();
    exe.write("\\data\\english\\surnames.quillmere", QStringList{"Baker", "Cooper"});
    form.cn->trigger();
    QCOMPARE(form.second_words->words().entries(), (QStringList{"Baker", "Cooper"}));
    QCOMPARE(catcher.messages.size(), 1);
}

void TestCharacters::nationalitiesAndGenders_data()
{
    QTest::addColumn<QString>("nationality");
    QTest::addColumn<bool>("keyboard");
    for (const Nationality& n : kNationalities)
        for (const bool keyboard : {false, true})
            QTest::addRow("%s %s", n.display, keyboard ? "keys" : "mouse")
                << QString(n.display) << keyboard;
}

void TestCharacters::nationalitiesAndGenders()
{
    QFETCH(QString, nationality);
    QFETCH(bool, keyboard);
    const Nationality* n = NationalityByDisplay(nationality);
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.cn->trigger();
    choose(form.char_sex, "Female", keyboard); // English shown as "Female" to start
    const QStringList surnames = n->surnameFile ? ShippedLines(n->surnameFile) : QStringList{};
    // Choosing twice never accumulates, and always resets the gender.
    for (int repeat = 0; repeat < 2; ++repeat) {
        choose(form.char_lang2, nationality, keyboard);
        QCOMPARE(form.thelang->text(), QString(n->key));
        QCOMPARE(form.char_sex->currentText(), QString("Male"));
        QCOMPARE(form.prim_words->words().entries(), ShippedLines(n->maleFile));
        QCOMPARE(form.second_words->words().entries(), surnames);
        for (const char* gender : {"Female", "Male", "Female"}) {
            choose(form.char_sex, gender, keyboard);
            const QStringList first =
                ShippedLines(QString(gender) == "Male" ? n->maleFile : n->femaleFile);
            QCOMPARE(form.prim_words->words().entries(), first);
            QCOMPARE(form.second_words->words().entries(), surnames);
            // A generated name: a first name, one space, a surname or nothing.
            ScriptedDraws draws{kLargestBelowOne, 0.0f};
            form.Command1->click();
            QCOMPARE(form.Text2->text(), first.last() + " " + surnames.value(0));
        }
    }
}

void TestCharacters::typedTextIsNoChoice()
{
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);
    form.cn->trigger();
    const QString before = stateOf(form);
    // Texts that match an entry ignoring case, exactly, or not at all:
    // leaving the field or pressing Return is never a choice, and the typed
    // text stays as typed.
    for (ChoiceBox* box : {form.char_lang2, form.char_sex}) {
        for (const QString typed : {"gaelic", "Gaelic", " Demon", "female", "Female", "Elvish"}) {
            for (const bool byReturn : {false, true}) {
                box->setFocus();
                QTRY_VERIFY(box->hasFocus());
                box->lineEdit()->selectAll();
                QTest::keyClicks(box->lineEdit(), typed);
                if (byReturn)
                    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
                QTest::mouseClick(form.Text2, Qt::LeftButton);
                QTRY_VERIFY(!box->hasFocus());
                QCOMPARE(box->currentText(), typed);
                box->setEditText(box == form.char_sex ? "Male" : "English");
                QCOMPARE(stateOf(form), before);
            }
        }
    }
    // A key that is not one of the five leaves both lists alone.
    form.thelang->setText("English");
    form.LoadCharacterWords();
    form.thelang->setText("english");
    QCOMPARE(stateOf(form), before);
}

QTEST_MAIN(TestCharacters)
#include "tst_characters.moc"
