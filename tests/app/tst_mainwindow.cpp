// The main window as the user drives it: start-up, modes, nationality and
// gender choices, names, and the help it opens.
#include "choicebox.h"
#include "form1.h"
#include "helpviewer.h"
#include "nationalities.h"
#include "paths.h"
#include "resultbox.h"
#include "testsupport.h"
#include "twoword.h"
#include "wordlist.h"

#include <QAbstractItemView>
#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>
#include <QtTest>

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        SetExecutableDirForTesting({});
        SetExternalLinkOpener({});
    }
    void startUp();
    void missingDataFolder();
    void toolbarAndMenuAgree();
    void nationalitiesAndGenders_data();
    void nationalitiesAndGenders();
    void typedTextIsNoChoiceAndModesReload();
};

void TestMainWindow::startUp()
{
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);
    QTRY_COMPARE(QApplication::focusWidget(), form.prim_words);
    const QStringList adjectives = ShippedLines("\\data\\adjectives-ect.quillmere");
    const QStringList nouns = ShippedLines("\\data\\nouns-ect.quillmere");
    QCOMPARE(form.prim_words->words().entries(), adjectives);
    QCOMPARE(form.second_words->words().entries(), nouns);
    QCOMPARE(form.thelang->text(), QString("english"));
    QCOMPARE(form.centralWidget()->size(), QSize(577, 324));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    for (QWidget* hidden :
         {static_cast<QWidget*>(form.thelang), static_cast<QWidget*>(form.char_sex),
          static_cast<QWidget*>(form.char_lang2), static_cast<QWidget*>(form.char_genderL),
          static_cast<QWidget*>(form.char_nationL)})
        QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));

    // Every caption fits its box at 96 dpi, width and height, mode titles and choices included.
    QList<std::pair<QWidget*, QString>> captions;
    for (QLabel* label : form.findChildren<QLabel*>())
        captions.append({label, label->text()});
    for (const char* title :
         {"Random Character", "Random Item Name", "Random Equipment", "Random Skill Name"})
        captions.append({form.thething, title});
    captions.append({form.Command1, form.Command1->text()});
    for (QComboBox* combo :
         {static_cast<QComboBox*>(form.char_sex), static_cast<QComboBox*>(form.char_lang2)})
        for (int i = 0; i < combo->count(); ++i)
            captions.append({combo, combo->itemText(i)});
    for (const auto& [w, caption] : captions) {
        const QFontMetrics fm(w->font());
        const int room = w->width() - (qobject_cast<QComboBox*>(w) ? 20 : 0);
        QVERIFY2(fm.horizontalAdvance(caption) <= room &&
                     -fm.tightBoundingRect(caption).top() + fm.descent() <= w->height(),
                 qPrintable(caption));
    }

    // Tab visits the controls that take focus, each with a name to read out.
    QStringList tabs;
    for (QWidget* w = form.prim_words; tabs.size() < 5; w = QApplication::focusWidget()) {
        tabs << w->objectName() + ":" + w->accessibleName();
        QTest::keyClick(w, Qt::Key_Tab);
    }
    QCOMPARE(tabs, QStringList({"prim_words:Primary Words", "Command1:Generate", "Text2:Result",
                                "second_words:Secondary Words", "prim_words:Primary Words"}));

    // Return and Escape press no button; Generate overwrites typed text.
    form.Text2->setText("typed");
    QTest::keyClick(form.Text2, Qt::Key_Return);
    QTest::keyClick(form.Text2, Qt::Key_Escape);
    QCOMPARE(form.Text2->text(), QString("typed"));
    ScriptedDraws draws({0.0f, kLargestBelowOne});
    QTest::mouseClick(form.Command1, Qt::LeftButton);
    QCOMPARE(form.Text2->text(), adjectives.first() + " " + nouns.last());
}

void TestMainWindow::missingDataFolder()
{
    TempExeDir exe; // no data folder at all
    QString shown;
    AnswerNextModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        shown = box->windowTitle() + "|" + box->text();
        box->button(QMessageBox::Ok)->click();
    });
    Form1 form;
    form.show();
    QTRY_VERIFY(!shown.isEmpty());
    QVERIFY(shown.startsWith("Quillmere|"));
    for (const char* file : {"adjectives-ect", "nouns-ect"})
        QVERIFY2(
            shown.contains(exe.path() + "/data/" + file + ".quillmere: No such file or directory"),
            qPrintable(shown));
    // The window still works, and picks the files up once they are there.
    form.Command1->click();
    QCOMPARE(form.Text2->text(), QString(" "));
    exe.write("\\data\\items-des-ect.quillmere", QStringList{"Gilded"});
    exe.write("\\data\\items-objects.quillmere", QStringList{"Chalice"});
    form.in->trigger();
    form.Command1->click();
    QCOMPARE(form.Text2->text(), QString("Gilded Chalice"));
}

namespace {

// Picks `text` from the popup as a user would, with the mouse or the keyboard.
void choose(QComboBox* combo, const QString& text, bool keyboard = false)
{
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex item = view->model()->index(combo->findText(text), 0);
    if (keyboard) {
        view->setCurrentIndex(item);
        QTest::keyClick(view, Qt::Key_Return);
    } else {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    }
    QTRY_VERIFY(!view->isVisible());
}

// Everything a mode switch or a choice may change, in one comparable text.
QString stateOf(const Form1& form)
{
    return QStringList{form.thething->text(),
                       QString::number(form.char_sex->isVisible() + form.char_lang2->isVisible() +
                                       form.char_genderL->isVisible() +
                                       form.char_nationL->isVisible()),
                       form.prim_words->words().entries().join(','),
                       form.second_words->words().entries().join(','),
                       form.Text2->text(),
                       form.thelang->text(),
                       form.char_lang2->currentText(),
                       form.char_sex->currentText()}
        .join('|');
}

QString lines(const QString& file)
{
    return file.isEmpty() ? QString() : ShippedLines(file).join(',');
}

} // namespace

void TestMainWindow::toolbarAndMenuAgree()
{
    ShippedExeDir exe;
    Form1 byToolbar;
    Form1 byMenu;
    byToolbar.show();
    byMenu.show();
    QAction* items[] = {byMenu.gt, byMenu.cn, byMenu.in, byMenu.en, byMenu.sn};
    // A nationality, a gender and a result that no switch may touch.
    for (Form1* form : {&byToolbar, &byMenu}) {
        form->cn->trigger();
        choose(form->char_lang2, "Greek");
        choose(form->char_sex, "Female");
        form->Text2->setText("Kalliopi Georgiou");
    }
    const char* files[][2] = {
        {"\\data\\adjectives-ect.quillmere", "\\data\\nouns-ect.quillmere"},
        {"\\data\\greek\\male_firstnames.quillmere", "\\data\\greek\\surnames.quillmere"},
        {"\\data\\items-des-ect.quillmere", "\\data\\items-objects.quillmere"},
        {"\\data\\equipment-ect.quillmere", "\\data\\equipment-objects.quillmere"},
        {"\\data\\skills-des-ect.quillmere", "\\data\\skills-objects.quillmere"}};
    const char* titles[] = {"Random Game Title|0", "Random Character|4", "Random Item Name|0",
                            "Random Equipment|0", "Random Skill Name|0"};
    for (int n = 5; n >= 1; --n) {
        QTest::mouseClick(byToolbar.Buttons->widgetForAction(byToolbar.Buttons->actions()[n - 1]),
                          Qt::LeftButton);
        items[n - 1]->trigger();
        // In "Character Name" mode the male names, whatever the gender shows.
        QCOMPARE(stateOf(byToolbar), stateOf(byMenu));
        QCOMPARE(stateOf(byMenu), QString(titles[n - 1]) + "|" + lines(files[n - 1][0]) + "|" +
                                      lines(files[n - 1][1]) +
                                      "|Kalliopi Georgiou|greek|Greek|Female");
    }
}

void TestMainWindow::nationalitiesAndGenders_data()
{
    QTest::addColumn<QString>("nationality");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("male");
    QTest::addColumn<QString>("female");
    QTest::addColumn<QString>("surnames");
    QTest::addColumn<bool>("keyboard");
    const char* rows[][5] = {
        {"English", "english", "\\data\\english\\male_firstnames.quillmere",
         "\\data\\english\\female_firstnames.quillmere", "\\data\\english\\surnames.quillmere"},
        {"Greek", "greek", "\\data\\greek\\male_firstnames.quillmere",
         "\\data\\greek\\female_firstnames.quillmere", "\\data\\greek\\surnames.quillmere"},
        {"Japanese", "japanese", "\\data\\japanese\\male_firstnames.quillmere",
         "\\data\\japanese\\female_firstnames.quillmere", "\\data\\japanese\\surnames.quillmere"},
        {"Gaelic", "gaelic", "\\data\\gaelic\\gaelic_male.quillmere",
         "\\data\\gaelic\\gaelic_female.quillmere", ""},
        {"Demon", "demon", "\\data\\demon\\demon_names.quillmere",
         "\\data\\demon\\demon_names.quillmere", ""}};
    for (const auto& r : rows)
        for (const bool keyboard : {false, true})
            QTest::addRow("%s %s", r[0], keyboard ? "keys" : "mouse")
                << r[0] << r[1] << r[2] << r[3] << r[4] << keyboard;
}

void TestMainWindow::nationalitiesAndGenders()
{
    QFETCH(QString, nationality);
    QFETCH(QString, key);
    QFETCH(QString, male);
    QFETCH(QString, female);
    QFETCH(QString, surnames);
    QFETCH(bool, keyboard);
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.cn->trigger();
    choose(form.char_sex, "Female", keyboard); // English shown as "Female" to start
    // Choosing twice never accumulates, and always resets the gender.
    for (int repeat = 0; repeat < 2; ++repeat) {
        choose(form.char_lang2, nationality, keyboard);
        QCOMPARE(stateOf(form), "Random Character|4|" + lines(male) + "|" + lines(surnames) + "||" +
                                    key + "|" + nationality + "|Male");
        for (const char* gender : {"Female", "Male", "Female"}) {
            choose(form.char_sex, gender, keyboard);
            const QStringList first = ShippedLines(QString(gender) == "Male" ? male : female);
            QCOMPARE(form.prim_words->words().entries(), first);
            QCOMPARE(form.second_words->words().entries().join(','), lines(surnames));
            // A generated name: a first name, one space, a surname or nothing.
            ScriptedDraws draws({kLargestBelowOne, 0.0f});
            form.Command1->click();
            QCOMPARE(form.Text2->text(), first.last() + " " + lines(surnames).section(',', 0, 0));
            form.Text2->clear();
        }
    }
}

void TestMainWindow::typedTextIsNoChoiceAndModesReload()
{
    TempExeDir exe;
    exe.write("\\data\\english\\male_firstnames.quillmere", QStringList{"Tom"});
    exe.write("\\data\\english\\surnames.quillmere", QStringList{"Baker"});
    ProblemCatcher catcher; // no title words
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);
    form.cn->trigger();
    const QString before = stateOf(form);
    // Texts that match an entry ignoring case, exactly, or not at all: leaving the field or
    // pressing Return is never a choice, and the typed text stays as typed.
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
    // A key that is not one of the five leaves both lists alone; a gender chosen with it
    // empties the first names and keeps the surnames.
    form.thelang->setText("English");
    form.LoadCharacterWords();
    QCOMPARE(stateOf(form), QString(before).replace("|english|", "|English|"));
    choose(form.char_sex, "Female");
    QCOMPARE(stateOf(form), QString("Random Character|4||Baker||English|English|Female"));
    form.thelang->setText("english");
    // The mode chosen again reads its files afresh.
    exe.write("\\data\\english\\surnames.quillmere", QStringList{"Baker", "Cooper"});
    form.cn->trigger();
    QCOMPARE(form.second_words->words().entries(), (QStringList{"Baker", "Cooper"}));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
