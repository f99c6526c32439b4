// The help path, the viewer on the shipped manual, F1 and "Contents", and the manual's quotes.
#include "form1.h"
#include "helpviewer.h"
#include "npcstats.h"
#include "paths.h"
#include "testsupport.h"
#include "twoword.h"

#include <QAction>
#include <QtTest>

// Clicks the first link to `href` on the page; false if there is none.
static bool clickLink(HelpBrowser* browser, const QString& href)
{
    QTextCursor cursor(browser->document());
    while (cursor.charFormat().anchorHref() != href)
        if (!cursor.movePosition(QTextCursor::NextCharacter))
            return false;
    browser->setTextCursor(cursor);
    browser->ensureCursorVisible();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect().center());
    return true;
}

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        SetExecutableDirForTesting({});
        SetExternalLinkOpener({});
    }
    void helpPathAndUnreadableFiles_data();
    void helpPathAndUnreadableFiles();
    void viewerOnTheShippedManual();
    void manualQuotesTheProgram();
};

void TestHelp::helpPathAndUnreadableFiles_data()
{
    QTest::addColumn<QString>("dirEnd"); // what the executable's directory text ends in
    QTest::addColumn<QString>("reason");
    auto row = [](const char* tag, QString end, QString why) { QTest::newRow(tag) << end << why; };
    row("missing", "", "there is no such file");
    row("folder", "/", "it is a folder, not a file");
    row("text", "", "it is not a compiled HTML help file");
}

void TestHelp::helpPathAndUnreadableFiles()
{
    const QString kind = QTest::currentDataTag();
    QFETCH(QString, dirEnd);
    QFETCH(QString, reason);
    ShippedExeDir words;
    Form1 form;
    TempExeDir exe;
    const QString path = exe.path() + dirEnd + "/quillmere.chm";
    QVERIFY(kind != "folder" || QDir().mkdir(path));
    QVERIFY(kind != "text" || !exe.write("\\quillmere.chm", QByteArray("not help\n")).isEmpty());
    SetExecutableDirForTesting(exe.path() + dirEnd);
    QCOMPARE(form.SetHTMLHelpStrings(), path);
    // The window opens and names the file; the program goes on.
    form.HTMLHelpContents();
    auto* viewer = form.findChild<HelpViewer*>();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(viewer->browser()->toPlainText(),
             QString("Could not open the help file \"%1\" because %2.").arg(path, reason));
}

void TestHelp::viewerOnTheShippedManual()
{
    SetExecutableDirForTesting(QUILLMERE_BUILD_DIR);
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);
    QTest::keyClick(&form, Qt::Key_F1);
    auto* viewer = form.findChild<HelpViewer*>();
    QVERIFY(viewer && QTest::qWaitForWindowExposed(viewer));
    QVERIFY(viewer->parentWidget() == &form && viewer->isWindow() && !viewer->isModal());
    HelpBrowser* browser = viewer->browser();
    QCOMPARE(browser->source(), HelpUrl("/index.html"));
    // An internal link, with its picture served from inside the file; Back returns.
    QVERIFY(clickLink(browser, "quick-start.html"));
    QCOMPARE(browser->source(), HelpUrl("/quick-start.html"));
    QVERIFY(browser->toHtml().contains("images/mode2.gif"));
    const QVariant image =
        browser->document()->resource(QTextDocument::ImageResource, QUrl("images/mode2.gif"));
    QVERIFY(!image.value<QImage>().isNull());
    viewer->backAction()->trigger();
    QCOMPARE(browser->source(), HelpUrl("/index.html"));
    // A link out of the file goes to the desktop, not into the viewer.
    QList<QUrl> opened;
    SetExternalLinkOpener([&](const QUrl& url) { return opened << url, true; });
    browser->setSource(HelpUrl("/wordlist-format.html"));
    QVERIFY(clickLink(browser, "https://en.wikipedia.org/wiki/UTF-8"));
    QCOMPARE(opened, QList<QUrl>{QUrl("https://en.wikipedia.org/wiki/UTF-8")});
    QCOMPARE(browser->source(), HelpUrl("/wordlist-format.html"));
    // "Contents" shows the same window, at the default topic afresh.
    form.cont->trigger();
    QCOMPARE(form.findChildren<HelpViewer*>(), QList<HelpViewer*>{viewer});
    QCOMPARE(browser->source(), HelpUrl("/index.html"));
    QVERIFY(!viewer->backAction()->isEnabled());
}

void TestHelp::manualQuotesTheProgram()
{
    ChmFile file;
    QVERIFY(file.open(QUILLMERE_BUILD_DIR "/quillmere.chm"));
    auto text = [&](const char* page) {
        QTextDocument document;
        document.setHtml(DecodeHelpText(file.read(page).value_or(QByteArray())));
        return document.toPlainText();
    };
    // The NPC table, a cell a line: Easy, Medium, Hard, as the program rolls.
    const QString npc = text("/npc.html");
    for (const StatRow& row : kStatRows) {
        QString cells = '"' + QString(row.label) + '"';
        for (const StatRange r : {row.easy, row.medium, row.hard})
            cells += '\n' + (r.ceiling ? QString("%1 to %2").arg(r.floor).arg(r.ceiling - 1)
                                       : QString("always 0"));
        QVERIFY2(npc.contains(cells + '\n'), row.label);
    }
    // Every two-word list the program reads, written the Linux way.
    const QString lists = text("/wordlists.html");
    for (const TwoWordFiles& f : {kTitleFiles, kItemFiles, kEquipmentFiles, kSkillFiles})
        for (QString path : {f.primary, f.secondary})
            QVERIFY2(lists.contains(path.mid(1).replace('\\', '/')), qPrintable(path));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
