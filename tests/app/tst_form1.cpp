// The main window as start-up leaves it, and Generate on the shipped lists.
#include "choicebox.h"
#include "form1.h"
#include "imagelist.h"
#include "problems.h"
#include "resultbox.h"
#include "testsupport.h"
#include "wordlist.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

class TestForm1 : public QObject {
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void captionsFitTheirBoxes();
    void windowAndMenus();
    void startUpState();
    void generateAfterStart();
    void missingDataFolder();
    void exitEndsTheProgram();
};

void TestForm1::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("fontPixels"); // 0: the window's default font
    QTest::addColumn<bool>("bold");
    auto row = [](const char* name, const char* cls, const char* text, QRect twips, bool shown,
                  int px, bool bold) {
        QTest::newRow(name) << QString(name) << QString(cls) << QString(text) << twips << shown
                            << px << bold;
    };
    row("Buttons", "QToolBar", "", {0, 0, 8655, 480}, true, 0, false);
    row("Label1", "QLabel", "Primary Words", {120, 600, 2175, 375}, true, 16, true);
    row("Label2", "QLabel", "Secondary Words", {6360, 600, 2175, 375}, true, 16, true);
    row("thelang", "QLineEdit", "english", {4920, 600, 1575, 285}, false, 0, false);
    row("prim_words", "WordListBox", "", {120, 960, 2175, 3765}, true, 0, false);
    row("thething", "QLabel", "Random Game Title", {2280, 960, 3975, 375}, true, 24, true);
    row("second_words", "WordListBox", "", {6360, 960, 2175, 3765}, true, 0, false);
    row("char_genderL", "QLabel", "Gender:", {2400, 1560, 1815, 255}, false, 0, false);
    row("char_nationL", "QLabel", "Character Nationality:", {4320, 1560, 1935, 255}, false, 0,
        false);
    row("char_sex", "ChoiceBox", "Male", {2400, 1800, 1815, 315}, false, 0, false);
    row("char_lang2", "ChoiceBox", "English", {4320, 1800, 1935, 315}, false, 0, false);
    row("Text2", "ResultBox", "", {2400, 2280, 3855, 405}, true, 16, true);
    row("Command1", "QPushButton", "Generate", {2400, 2760, 3855, 495}, true, 15, false);
}

QString textOf(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    if (auto* button = qobject_cast<QPushButton*>(w))
        return button->text();
    return {};
}

void TestForm1::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QFETCH(bool, shown);
    QFETCH(int, fontPixels);
    QFETCH(bool, bold);
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* w = form.findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(QString(w->metaObject()->className()), className);
    QCOMPARE(textOf(w), text);
    const QRect px(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
    QCOMPARE(w->geometry(), px);
    QCOMPARE(w->isVisible(), shown);
    QCOMPARE(w->font().pixelSize(), fontPixels ? fontPixels : DefaultDialogFont().pixelSize());
    QCOMPARE(w->font().bold(), bold);
    if (fontPixels)
        QCOMPARE(QFontInfo(w->font()).family(), QFontInfo(QFont("Arial")).family());
}

void TestForm1::captionsFitTheirBoxes()
{
    ShippedExeDir exe;
    Form1 form;
    const QList<QWidget*> captioned{form.Label1, form.Label2, form.char_genderL, form.char_nationL,
                                    form.Command1};
    for (QWidget* w : captioned) {
        const QFontMetrics fm(w->font());
        const QRect needed = fm.boundingRect(textOf(w));
        QVERIFY2(fm.horizontalAdvance(textOf(w)) <= w->width(),
                 qPrintable(QString("%1: %2 px of text in %3 px")
                                .arg(w->objectName())
                                .arg(fm.horizontalAdvance(textOf(w)))
                                .arg(w->width())));
        QVERIFY2(fm.height() <= w->height() && needed.height() <= w->height(),
                 qPrintable(w->objectName() + " text is taller than its box"));
    }
    // Every mode title fits, from the top of its capitals to the bottom of its
    // descenders, with the label sitting its text on the bottom edge.
    const QFontMetrics fm(form.thething->font());
    QVERIFY(form.thething->alignment() & Qt::AlignBottom);
    for (const char* title : {"Random Game Title", "Random Character", "Random Item Name",
                              "Random Equipment", "Random Skill Name"}) {
        QVERIFY2(fm.horizontalAdvance(title) <= form.thething->width(), title);
        QVERIFY2(-fm.tightBoundingRect(title).top() + fm.descent() <= form.thething->height(),
                 title);
    }
    // The choices show their longest entries whole.
    for (QComboBox* combo :
         {static_cast<QComboBox*>(form.char_sex), static_cast<QComboBox*>(form.char_lang2)}) {
        QStyleOptionComboBox opt;
        opt.initFrom(combo);
        opt.editable = true;
        const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &opt,
                                                           QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i)
            QVERIFY2(combo->fontMetrics().horizontalAdvance(combo->itemText(i)) <= field.width(),
                     qPrintable(combo->itemText(i)));
    }
}

void TestForm1::windowAndMenus()
{
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QString("Quillmere"));
    QVERIFY(form.windowIcon().availableSizes().contains(QSize(32, 32)));
    QCOMPARE(form.centralWidget()->size(), QSize(577, 324));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(flags & Qt::WindowCloseButtonHint);

    // Menus: names, captions, order, the one shortcut.
    const QList<QAction*> menus = form.menuBar()->actions();
    QCOMPARE(menus.size(), 3);
    const QStringList captions{"File", "Select Generate Mode", "Help"};
    const QList<QStringList> items{{"ex:Exit"},
                                   {"gt:Game Title", "cn:Character Name", "in:Item Name",
                                    "en:Equipment Name", "sn:Skill Name", "npcstat:Npc Stats"},
                                   {"cont:Contents"}};
    for (int m = 0; m < 3; ++m) {
        QCOMPARE(menus[m]->text(), captions[m]);
        QStringList got;
        for (QAction* a : menus[m]->menu()->actions()) {
            QVERIFY(!a->isSeparator() && !a->isCheckable() && a->isEnabled());
            got << a->objectName() + ":" + a->text();
        }
        QCOMPARE(got, items[m]);
    }
    QCOMPARE(form.cont->shortcut(), QKeySequence(Qt::Key_F1));

    // Toolbar: five picture buttons with their tooltips, nothing else.
    const QStringList tips{"Game Title Generator", "Character Name Generator",
                           "Item Name Generator", "Equipment Name Generator",
                           "Skill Name Generator"};
    const QList<QAction*> buttons = form.Buttons->actions();
    QCOMPARE(buttons.size(), 5);
    for (int n = 0; n < 5; ++n) {
        QCOMPARE(buttons[n]->toolTip(), tips[n]);
        QCOMPARE(buttons[n]->text(), QString());
        QCOMPARE(buttons[n]->data().toInt(), n + 1);
        QCOMPARE(form.icons->image(n + 1).size(), QSize(24, 24));
        auto* tb = qobject_cast<QToolButton*>(form.Buttons->widgetForAction(buttons[n]));
        QVERIFY(tb && tb->isVisible());
        QCOMPARE(tb->toolButtonStyle(), Qt::ToolButtonIconOnly);
    }
    QCOMPARE(form.Buttons->iconSize(), QSize(24, 24));
}

void TestForm1::startUpState()
{
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.prim_words));

    QCOMPARE(form.prim_words->words().entries(), ShippedLines("\\data\\adjectives-ect.quillmere"));
    QCOMPARE(form.second_words->words().entries(), ShippedLines("\\data\\nouns-ect.quillmere"));
    QVERIFY(form.prim_words->words().count() >= 250);
    QCOMPARE(form.thelang->text(), QString("english"));
    QCOMPARE(QStringList({form.char_sex->itemText(0), form.char_sex->itemText(1)}),
             QStringList({"Male", "Female"}));
    QStringList nations;
    for (int i = 0; i < form.char_lang2->count(); ++i)
        nations << form.char_lang2->itemText(i);
    QCOMPARE(nations, QStringList({"English", "Greek", "Japanese", "Gaelic", "Demon"}));

    // Tab order over the controls that take focus.
    const QList<QWidget*> order{form.prim_words, form.Command1, form.Text2, form.second_words};
    for (int i = 0; i + 1 < order.size(); ++i)
        QCOMPARE(order[i]->nextInFocusChain() == order[i + 1] ||
                     QWidget::find(order[i + 1]->winId()) != nullptr,
                 true);
    QWidget* w = form.prim_words;
    QStringList tabs;
    for (int i = 0; i < 4; ++i) {
        tabs << w->objectName();
        QTest::keyClick(w, Qt::Key_Tab);
        w = QApplication::focusWidget();
    }
    QCOMPARE(tabs, QStringList({"prim_words", "Command1", "Text2", "second_words"}));
    QCOMPARE(w, static_cast<QWidget*>(form.prim_words));
    for (QWidget* focusable :
         {static_cast<QWidget*>(form.prim_words), static_cast<QWidget*>(form.second_words),
          static_cast<QWidget*>(form.Text2), static_cast<QWidget*>(form.Command1),
          static_cast<QWidget*>(form.char_sex), static_cast<QWidget*>(form.char_lang2)})
        QVERIFY2(!focusable->accessibleName().isEmpty(), qPrintable(focusable->objectName()));

    // Return and Escape press no button.
    form.Text2->setText("typed");
    QTest::keyClick(form.Text2, Qt::Key_Return);
    QTest::keyClick(form.Text2, Qt::Key_Escape);
    QCOMPARE(form.Text2->text(), QString("typed"));
    QVERIFY(!form.Command1->isDefault() && !form.Command1->autoDefault());
}

void TestForm1::generateAfterStart()
{
    ShippedExeDir exe;
    Form1 form;
    const QStringList adjectives = ShippedLines("\\data\\adjectives-ect.quillmere");
    const QStringList nouns = ShippedLines("\\data\\nouns-ect.quillmere");
    form.Text2->setText("typed by the user");
    {
        ScriptedDraws draws{0.0f, kLargestBelowOne};
        QTest::mouseClick(form.Command1, Qt::LeftButton);
        QCOMPARE(draws.used(), 2);
    }
    QCOMPARE(form.Text2->text(), adjectives.first() + " " + nouns.last());
    for (int i = 0; i < 50; ++i) {
        form.Command1->click();
        const QString result = form.Text2->text();
        bool found = false;
        for (const QString& a : adjectives)
            found =
                found || (result.startsWith(a + " ") && nouns.contains(result.mid(a.size() + 1)));
        QVERIFY2(found, qPrintable(result));
    }
}

void TestForm1::missingDataFolder()
{
    TempExeDir exe; // no data folder at all
    QString shown;
    AnswerNextModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        shown = box->windowTitle() + "|" + box->text();
        box->button(QMessageBox::Ok)->click();
    });
    Form1 form;
    form.show();
    QTRY_VERIFY(!shown.isEmpty());
    QVERIFY(shown.startsWith("Quillmere|"));
    QVERIFY2(shown.contains(exe.full("\\data\\adjectives-ect.quillmere")), qPrintable(shown));
    QVERIFY(shown.contains(exe.full("\\data\\nouns-ect.quillmere")));
    QVERIFY(shown.contains("No such file or directory"));

    // The window still works: empty lists give a single space.
    QCOMPARE(form.prim_words->words().count(), 0);
    form.Command1->click();
    QCOMPARE(form.Text2->text(), QString(" "));
    // And recovers once the files are there.
    exe.write("\\data\\items-des-ect.quillmere", QStringList{"Gilded"});
    exe.write("\\data\\items-objects.quillmere", QStringList{"Chalice"});
    ProblemCatcher catcher;
    form.in->trigger();
    form.Command1->click();
    QCOMPARE(form.Text2->text(), QString("Gilded Chalice"));
    QVERIFY(catcher.messages.isEmpty());
}

void TestForm1::exitEndsTheProgram()
{
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTimer::singleShot(0, form.ex, &QAction::trigger);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
