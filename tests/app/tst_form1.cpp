// The main window as start-up leaves it, and Generate on the shipped lists.
#include "choicebox.h"
#include "form1.h"
#include "imagelist.h"
#include "resultbox.h"
#include "testsupport.h"
#include "wordlist.h"

#include <QLabel>
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
    void windowMenusAndToolbar();
    void startUpStateAndGenerate();
    void missingDataFolder();
};

QString textOf(QWidget* w)
{
    return w->property(qobject_cast<QComboBox*>(w) ? "currentText" : "text").toString();
}

void TestForm1::controls_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("arialPixels"); // 0: the window's default font
    auto row = [](const char* name, const char* text, QRect twips, bool shown, int px) {
        QTest::newRow(name) << QString(text) << twips << shown << px;
    };
    row("Buttons", "", {0, 0, 8655, 480}, true, 0);
    row("Label1", "Primary Words", {120, 600, 2175, 375}, true, 16);
    row("Label2", "Secondary Words", {6360, 600, 2175, 375}, true, 16);
    row("thelang", "english", {4920, 600, 1575, 285}, false, 0);
    row("prim_words", "", {120, 960, 2175, 3765}, true, 0);
    row("thething", "Random Game Title", {2280, 960, 3975, 375}, true, 24);
    row("second_words", "", {6360, 960, 2175, 3765}, true, 0);
    row("char_genderL", "Gender:", {2400, 1560, 1815, 255}, false, 0);
    row("char_nationL", "Character Nationality:", {4320, 1560, 1935, 255}, false, 0);
    row("char_sex", "Male", {2400, 1800, 1815, 315}, false, 0);
    row("char_lang2", "English", {4320, 1800, 1935, 315}, false, 0);
    row("Text2", "", {2400, 2280, 3855, 405}, true, 16);
    row("Command1", "Generate", {2400, 2760, 3855, 495}, true, 15);
}

void TestForm1::controls()
{
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QFETCH(bool, shown);
    QFETCH(int, arialPixels);
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* w = form.findChild<QWidget*>(QTest::currentDataTag());
    QVERIFY(w);
    QCOMPARE(textOf(w), text);
    QCOMPARE(w->geometry(), QRect(twips.topLeft() / 15, twips.size() / 15));
    QCOMPARE(w->isVisible(), shown);
    const QFont font = w->font();
    QCOMPARE(font.pixelSize(), arialPixels ? arialPixels : DefaultDialogFont().pixelSize());
    QCOMPARE(font.bold(), arialPixels == 16 || arialPixels == 24);
    QCOMPARE(QFontInfo(font).family(), QFontInfo(QFont("Arial")).family());

    // Every caption fits its box: width, and the glyphs from the top of the
    // capitals to the bottom of the descenders.
    const QFontMetrics fm(font);
    QStringList captions{text};
    if (w == form.thething)
        captions << "Random Character"
                 << "Random Item Name"
                 << "Random Equipment"
                 << "Random Skill Name";
    if (auto* combo = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < combo->count(); ++i)
            captions << combo->itemText(i);
    const int room = qobject_cast<QComboBox*>(w) ? w->width() - 20 : w->width();
    for (const QString& caption : captions) {
        QVERIFY2(fm.horizontalAdvance(caption) <= room, qPrintable(caption));
        QVERIFY2(-fm.tightBoundingRect(caption).top() + fm.descent() <= w->height(),
                 qPrintable(caption));
    }
}

void TestForm1::windowMenusAndToolbar()
{
    ShippedExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.windowTitle(), QString("Quillmere"));
    QVERIFY(form.windowIcon().availableSizes().contains(QSize(32, 32)));
    QCOMPARE(form.centralWidget()->size(), QSize(577, 324));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(!(form.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    QStringList menus;
    for (QAction* menu : form.menuBar()->actions()) {
        menus << menu->menu()->objectName() + ":" + menu->text();
        for (QAction* a : menu->menu()->actions()) {
            QVERIFY(!a->isSeparator() && !a->isCheckable() && a->isEnabled());
            menus << a->objectName() + ":" + a->text() + ":" + a->shortcut().toString();
        }
    }
    QCOMPARE(menus,
             QStringList({"fl:File", "ex:Exit:", "sgm:Select Generate Mode", "gt:Game Title:",
                          "cn:Character Name:", "in:Item Name:", "en:Equipment Name:",
                          "sn:Skill Name:", "npcstat:Npc Stats:", "hp:Help", "cont:Contents:F1"}));

    QStringList tips;
    for (QAction* button : form.Buttons->actions()) {
        tips << button->toolTip();
        QVERIFY(button->text().isEmpty());
        QCOMPARE(form.icons->image(button->data().toInt()).size(), QSize(24, 24));
        auto* tb = qobject_cast<QToolButton*>(form.Buttons->widgetForAction(button));
        QVERIFY(tb && tb->isVisible() && tb->toolButtonStyle() == Qt::ToolButtonIconOnly);
    }
    QCOMPARE(tips,
             QStringList({"Game Title Generator", "Character Name Generator", "Item Name Generator",
                          "Equipment Name Generator", "Skill Name Generator"}));
}

void TestForm1::startUpStateAndGenerate()
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
    {
        ScriptedDraws draws{0.0f, kLargestBelowOne};
        QTest::mouseClick(form.Command1, Qt::LeftButton);
        QCOMPARE(draws.used(), 2);
    }
    QCOMPARE(form.Text2->text(), adjectives.first() + " " + nouns.last());
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

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
