// Mode switching, nationality and gender choices, and character names, on
// the main window as the user drives it.
#include "choicebox.h"
#include "form1.h"
#include "nationalities.h"
#include "resultbox.h"
#include "testsupport.h"
#include "wordlist.h"

#include <QAbstractItemView>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

const char* const kModeTitles[] = {"Random Game Title", "Random Character", "Random Item Name",
                                   "Random Equipment", "Random Skill Name"};

// Picks `text` from the drop-down with the mouse, as a user would.
void chooseWithMouse(QComboBox* combo, const QString& text)
{
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    const int row = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY2(row >= 0, qPrintable(text));
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    QTRY_VERIFY(!view->isVisible());
}

// Steps the drop-down to `text` with the arrow keys; the entry already
// shown is chosen again from the popup with Return.
void chooseWithKeyboard(QComboBox* combo, const QString& text)
{
    combo->setFocus();
    const int target = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (target == combo->currentIndex()) {
        QTest::keyClick(combo, Qt::Key_Down, Qt::AltModifier);
        QTRY_VERIFY(combo->view()->isVisible());
        QTest::keyClick(combo->view(), Qt::Key_Return);
        QTRY_VERIFY(!combo->view()->isVisible());
        return;
    }
    while (combo->currentIndex() < target)
        QTest::keyClick(combo, Qt::Key_Down);
    while (combo->currentIndex() > target)
        QTest::keyClick(combo, Qt::Key_Up);
}

QToolButton* toolbarButton(Form1& form, int n)
{
    return qobject_cast<QToolButton*>(
        form.Buttons->widgetForAction(form.Buttons->actions()[n - 1]));
}

struct State {
    QString title;
    bool characters;
    QStringList prim;
    QStringList second;
    QString result;
    bool operator==(const State&) const = default;
};

State stateOf(const Form1& form)
{
    const bool shown = form.char_sex->isVisible();
    // All four character controls go together.
    if (form.char_lang2->isVisible() != shown || form.char_genderL->isVisible() != shown ||
        form.char_nationL->isVisible() != shown)
        return {"mixed visibility", false, {}, {}, {}};
    return {form.thething->text(), shown, form.prim_words->words().entries(),
            form.second_words->words().entries(), form.Text2->text()};
}

} // namespace

class TestCharacters : public QObject {
    Q_OBJECT
private slots:
    void toolbarAndMenuAgree_data();
    void toolbarAndMenuAgree();
    void switchesKeepChoicesAndResult();
    void sameModeReloadsFromDisk();
    void nationalitiesAndGenders_data();
    void nationalitiesAndGenders();
    void typedTextIsNoChoice();
    void repeatedChoicesNeverAccumulate();
    void namesComeFromTheFiles_data();
    void namesComeFromTheFiles();
};

void TestCharacters::toolbarAndMenuAgree_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("prim");
    QTest::addColumn<QString>("second");
    QTest::newRow("1 game title") << 1 << "\\data\\adjectives-ect.quillmere"
                                  << "\\data\\nouns-ect.quillmere";
    QTest::newRow("2 character") << 2 << "\\data\\english\\male_firstnames.quillmere"
                                 << "\\data\\english\\surnames.quillmere";
    QTest::newRow("3 item") << 3 << "\\data\\items-des-ect.quillmere"
                            << "\\data\\items-objects.quillmere";
    QTest::newRow("4 equipment") << 4 << "\\data\\equipment-ect.quillmere"
                                 << "\\data\\equipment-objects.quillmere";
    QTest::newRow("5 skill") << 5 << "\\data\\skills-des-ect.quillmere"
                             << "\\data\\skills-objects.quillmere";
}

void TestCharacters::toolbarAndMenuAgree()
{
    QFETCH(int, mode);
    QFETCH(QString, prim);
    QFETCH(QString, second);
    ShippedExeDir exe;
    const State expected{kModeTitles[mode - 1], mode == 2, ShippedLines(prim), ShippedLines(second),
                         "kept"};
    QVERIFY(expected.prim.size() >= 200 && expected.second.size() >= 250);

    Form1 byToolbar;
    byToolbar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&byToolbar));
    byToolbar.Text2->setText("kept");
    // Start from another mode so the switch has something to change.
    byToolbar.SwitchMode(mode == 3 ? 4 : 3);
    QTest::mouseClick(toolbarButton(byToolbar, mode), Qt::LeftButton);
    QCOMPARE(stateOf(byToolbar), expected);

    Form1 byMenu;
    byMenu.show();
    byMenu.Text2->setText("kept");
    byMenu.SwitchMode(mode == 3 ? 4 : 3);
    QAction* items[] = {byMenu.gt, byMenu.cn, byMenu.in, byMenu.en, byMenu.sn};
    items[mode - 1]->trigger();
    QCOMPARE(stateOf(byMenu), expected);
}

void TestCharacters::switchesKeepChoicesAndResult()
{
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.cn->trigger();
    chooseWithMouse(form.char_lang2, "Greek");
    chooseWithMouse(form.char_sex, "Female");
    QCOMPARE(form.prim_words->words().entries(),
             ShippedLines("\\data\\greek\\female_firstnames.quillmere"));
    form.Command1->click();
    const QString name = form.Text2->text();

    for (QAction* other : {form.gt, form.in, form.en, form.sn}) {
        other->trigger();
        QVERIFY(!form.char_sex->isVisible() && !form.char_lang2->isVisible());
        QCOMPARE(form.Text2->text(), name);
    }
    form.cn->trigger();
    QCOMPARE(form.char_lang2->currentText(), QString("Greek"));
    QCOMPARE(form.char_sex->currentText(), QString("Female"));
    QCOMPARE(form.thelang->text(), QString("greek"));
    // Back in the mode, the first names are the male ones whatever the gender shows.
    QCOMPARE(form.prim_words->words().entries(),
             ShippedLines("\\data\\greek\\male_firstnames.quillmere"));
    QCOMPARE(form.second_words->words().entries(),
             ShippedLines("\\data\\greek\\surnames.quillmere"));
    QCOMPARE(form.Text2->text(), name);
}

void TestCharacters::sameModeReloadsFromDisk()
{
    TempExeDir exe;
    exe.write("\\data\\adjectives-ect.quillmere", QStringList{"Old"});
    exe.write("\\data\\nouns-ect.quillmere", QStringList{"Saga"});
    exe.write("\\data\\english\\male_firstnames.quillmere", QStringList{"Tom"});
    exe.write("\\data\\english\\surnames.quillmere", QStringList{"Baker"});
    Form1 form;
    QCOMPARE(form.prim_words->words().entries(), QStringList{"Old"});
    exe.write("\\data\\adjectives-ect.quillmere", QStringList{"New", "Newer"});
    form.gt->trigger();
    QCOMPARE(form.prim_words->words().entries(), (QStringList{"New", "Newer"}));

    QTest::mouseClick(toolbarButton(form, 2), Qt::LeftButton);
    exe.write("\\data\\english\\surnames.quillmere", QStringList{"Baker", "Cooper"});
    QTest::mouseClick(toolbarButton(form, 2), Qt::LeftButton);
    QCOMPARE(form.second_words->words().entries(), (QStringList{"Baker", "Cooper"}));
    QCOMPARE(form.prim_words->words().entries(), QStringList{"Tom"});
}

void TestCharacters::nationalitiesAndGenders_data()
{
    QTest::addColumn<QString>("nationality");
    QTest::addColumn<QString>("gender");
    QTest::addColumn<bool>("keyboard");
    for (const Nationality& n : kNationalities) {
        for (const char* gender : {"Female", "Male"}) {
            for (const bool keyboard : {false, true}) {
                QTest::addRow("%s %s %s", n.display, gender, keyboard ? "keys" : "mouse")
                    << QString(n.display) << QString(gender) << keyboard;
            }
        }
    }
}

void TestCharacters::nationalitiesAndGenders()
{
    QFETCH(QString, nationality);
    QFETCH(QString, gender);
    QFETCH(bool, keyboard);
    const Nationality* n = NationalityByDisplay(nationality);
    QVERIFY(n);
    auto choose = keyboard ? chooseWithKeyboard : chooseWithMouse;
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.cn->trigger();
    // Start from English shown as "Female", so every choice has work to do.
    choose(form.char_sex, "Female");
    form.Text2->setText("last name");

    choose(form.char_lang2, nationality);
    QCOMPARE(form.thelang->text(), QString(n->key));
    QCOMPARE(form.char_sex->currentText(), QString("Male"));
    QCOMPARE(form.prim_words->words().entries(), ShippedLines(n->maleFile));
    const QStringList surnames = n->surnameFile ? ShippedLines(n->surnameFile) : QStringList{};
    QCOMPARE(form.second_words->words().entries(), surnames);

    choose(form.char_sex, gender);
    QCOMPARE(form.prim_words->words().entries(),
             ShippedLines(gender == "Male" ? n->maleFile : n->femaleFile));
    QCOMPARE(form.second_words->words().entries(), surnames);
    QCOMPARE(form.char_lang2->currentText(), nationality);
    QCOMPARE(form.thething->text(), QString("Random Character"));
    QCOMPARE(form.Text2->text(), QString("last name"));
}

void TestCharacters::typedTextIsNoChoice()
{
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);
    form.cn->trigger();
    const State before = stateOf(form);

    // Typed texts that match an entry ignoring case, exactly, or not at all:
    // leaving the field or pressing Return is never a choice.
    for (const QString typed : {"gaelic", "Gaelic", "GREEK", " Demon", "Elvish"}) {
        for (const bool byReturn : {false, true}) {
            form.char_lang2->setFocus();
            QTRY_VERIFY(form.char_lang2->hasFocus());
            form.char_lang2->lineEdit()->selectAll();
            QTest::keyClicks(form.char_lang2->lineEdit(), typed);
            if (byReturn)
                QTest::keyClick(form.char_lang2->lineEdit(), Qt::Key_Return);
            QTest::mouseClick(form.Text2, Qt::LeftButton);
            QTRY_VERIFY(!form.char_lang2->hasFocus());
            QCOMPARE(form.char_lang2->currentText(), typed);
            QCOMPARE(form.thelang->text(), QString("english"));
            QCOMPARE(stateOf(form), before);
        }
    }
    form.char_sex->setFocus();
    form.char_sex->lineEdit()->selectAll();
    QTest::keyClicks(form.char_sex->lineEdit(), "female");
    QTest::keyClick(form.char_sex->lineEdit(), Qt::Key_Return);
    form.Command1->setFocus();
    QCOMPARE(form.char_sex->currentText(), QString("female"));
    QCOMPARE(stateOf(form), before);

    // A key that is not one of the five leaves both lists alone, and a
    // nationality typed over the choice is no nationality at all.
    form.thelang->setText("English");
    form.LoadCharacterWords();
    QCOMPARE(stateOf(form), before);
}

void TestCharacters::repeatedChoicesNeverAccumulate()
{
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.cn->trigger();
    for (int i = 0; i < 3; ++i) {
        chooseWithMouse(form.char_lang2, "Demon");
        chooseWithMouse(form.char_sex, "Female");
        chooseWithMouse(form.char_sex, "Male");
        form.cn->trigger();
    }
    QCOMPARE(form.prim_words->words().entries(),
             ShippedLines("\\data\\demon\\demon_names.quillmere"));
    QCOMPARE(form.second_words->words().count(), 0);
    // Choosing the nationality in force again still resets the gender.
    chooseWithMouse(form.char_sex, "Female");
    chooseWithMouse(form.char_lang2, "Demon");
    QCOMPARE(form.char_sex->currentText(), QString("Male"));
}

void TestCharacters::namesComeFromTheFiles_data()
{
    QTest::addColumn<QString>("nationality");
    for (const Nationality& n : kNationalities)
        QTest::newRow(n.display) << QString(n.display);
}

void TestCharacters::namesComeFromTheFiles()
{
    QFETCH(QString, nationality);
    const Nationality* n = NationalityByDisplay(nationality);
    ShippedExeDir exe;
    Form1 form;
    form.show();
    form.cn->trigger();
    chooseWithMouse(form.char_lang2, nationality);
    for (const char* gender : {"Male", "Female"}) {
        chooseWithMouse(form.char_sex, gender);
        const QStringList first =
            ShippedLines(QString(gender) == "Male" ? n->maleFile : n->femaleFile);
        const QStringList last = n->surnameFile ? ShippedLines(n->surnameFile) : QStringList{};
        {
            ScriptedDraws draws{kLargestBelowOne, 0.0f};
            form.Command1->click();
        }
        QCOMPARE(form.Text2->text(), first.last() + " " + (last.isEmpty() ? "" : last.first()));
        for (int i = 0; i < 200; ++i) {
            form.Command1->click();
            const QString name = form.Text2->text();
            const qsizetype space = name.indexOf(' ');
            QVERIFY2(space > 0 && first.contains(name.left(space)), qPrintable(name));
            const QString surname = name.mid(space + 1);
            QVERIFY2(last.isEmpty() ? surname.isEmpty() : last.contains(surname), qPrintable(name));
        }
    }
}

QTEST_MAIN(TestCharacters)
#include "tst_characters.moc"
