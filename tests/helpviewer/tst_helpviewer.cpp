// The help viewer as a reader meets it, after its first page too: the
// contents, the index, searching, links of every kind, Back and Forward,
// opening again, closing; and what it reads from a help file's own objects.
#include "helpformat.h"
#include "helpwindow.h"

#include <QtTest>
#include <QtWidgets>

namespace {

bool clickLink(HelpBrowser* browser, const QString& href)
{
    QTextCursor cursor(browser->document());
    while (cursor.charFormat().anchorHref() != href)
        if (!cursor.movePosition(QTextCursor::NextCharacter))
            return false;
    browser->setTextCursor(cursor);
    browser->ensureCursorVisible();
    // The middle of the link's first character, whatever the width of the window.
    const QRect after = browser->cursorRect();
    cursor.movePosition(QTextCursor::PreviousCharacter);
    const QPoint middle((browser->cursorRect(cursor).x() + after.x()) / 2, after.center().y());
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, middle);
    return true;
}

// Each row of a list or a tree as "depth text".
QStringList rows(const QAbstractItemModel* model, const QModelIndex& parent = {}, int depth = 0)
{
    QStringList out;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex idx = model->index(row, 0, parent);
        out << QString::number(depth) + ' ' + idx.data().toString() << rows(model, idx, depth + 1);
    }
    return out;
}

} // namespace

class TestHelpViewer : public QObject {
    Q_OBJECT
public:
    // Takes what the desktop would have opened.
    Q_INVOKABLE void open(const QUrl& url) { opened.append(url); }
    QList<QUrl> opened;

private slots:
    void helpFileObjects();
    void readingTheManual();
    void linksOfEveryKind();
};

void TestHelpViewer::helpFileObjects()
{
    // #SYSTEM: a version, then records; one cut short ends the walk. A title
    // is one line of text at most 200 long, Latin-1 where it is not UTF-8.
    const auto info = [](const QList<std::pair<char, QByteArray>>& records) {
        QByteArray bytes(4, '\0');
        for (const auto& [code, text] : records)
            bytes += QByteArray(1, code) + '\0' + char(text.size() & 0xff) +
                     char(text.size() >> 8) + text;
        const HelpFileInfo i = ParseSystemObject(bytes + QByteArray("\x00\x00\x10\x00short", 9));
        return QStringList({i.title, i.defaultTopic, i.contentsFile, i.indexFile}).join('|');
    };
    QCOMPARE(info({{3, "T"},
                   {2, QByteArray("start.html\0junk", 15)},
                   {0, "/toc.hhc"},
                   {1, "keys.hhk"},
                   {9, "ignored"},
                   {3, "A\tb\x7f\x01 c"}}),
             "A b c|/start.html|/toc.hhc|/keys.hhk");
    QCOMPARE(info({{3, QByteArray(300, 'x')}}), QString(200, 'x') + "|||");
    QCOMPARE(info({{3, "Caf\xe9"}}), QString::fromUtf8("Caf\u00e9|||"));

    // An entry nests at most one level below the one before, however many
    // lists open between; only named objects are entries.
    const QString entry = "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"%1\">"
                          "<param name=\"Local\" value=\"%2\"></OBJECT>\n";
    const QString sitemap =
        "<UL>" + entry.arg("Fish &amp; chips &#x2014;  &lt;b&gt; &#55296;", "a&amp;b.html") +
        "<ul><ul><UL>" + entry.arg("Two", "") + entry.arg("Too", "dir/too.html#part") +
        "</ul></ul></ul>" + entry.arg("Spans", "").replace("</OBJECT>", "<ul><ul></object>") +
        entry.arg("Deep", "") + "</ul></ul></UL>" + entry.arg("Back", "/b.html") +
        entry.arg("", "none.html") +
        "<object type='text/sitemap'><param value='c.html' name='local'>"
        "<param name=Name value=Single></object><object><param name=\"ImageType\"></object>" +
        "<object type=\"text/sitemap\"><param name=\"Name\" value=\"Unended\">";
    QStringList read;
    for (const HelpTopic& topic : ParseSitemap(sitemap))
        read << QString("%1 %2 %3").arg(topic.depth).arg(topic.name, topic.local);
    QCOMPARE(read, QStringList({QString::fromUtf8("0 Fish & chips \u2014 <b> \ufffd /a&b.html"),
                                "1 Two ", "1 Too /dir/too.html#part", "0 Spans ", "1 Deep ",
                                "0 Back /b.html", "0 Single /c.html"}));
}

void TestHelpViewer::readingTheManual()
{
    HelpWindow window(QUILLMERE_BUILD_DIR "/quillmere.chm");
    window.showHome();
    window.show();
    HelpBrowser* browser = window.browser();
    QTreeWidget* contents = window.contents();
    const auto at = [&](const char* url, const QString& topic) {
        return browser->source() == QUrl(url) && contents->currentItem()->text(0) == topic;
    };
    // Sized to fit the screen it opens on, whatever the screen; the contents
    // hold every page, nested as the manual nests them.
    QCOMPARE(window.windowTitle(), "Quillmere Help");
    QTabWidget* tabs = window.tabs();
    QCOMPARE((QStringList{tabs->tabText(0), tabs->tabText(1), tabs->tabText(2),
                          window.indexFilter()->placeholderText(),
                          window.searchWords()->placeholderText()}),
             (QStringList{"Contents", "Index", "Search", "Keyword to find",
                          "Words to search for, then Enter"}));
    const QSize screen = window.screen()->availableGeometry().size();
    QCOMPARE(screen.expandedTo(window.frameGeometry().size()), screen);
    const QStringList entries = rows(contents->model());
    QCOMPARE(entries.mid(3, 5),
             QStringList({"0 Generation modes", "1 Game Title", "1 Character Name",
                          "2 Nationalities and genders", "1 Item Name"}));
    QVERIFY(at("chm:/index.html", "Welcome to Quillmere"));

    // An entry of the contents, a link in its page, then Back and Forward.
    QTreeWidgetItem* npc = contents->findItems("The NPC window", Qt::MatchExactly)[0];
    contents->scrollToItem(npc);
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                      contents->visualItemRect(npc).center());
    QVERIFY(at("chm:/npc.html", "The NPC window"));
    QVERIFY(browser->toPlainText().contains("Generation Properties"));
    QVERIFY(clickLink(browser, "nationalities.html"));
    QVERIFY(at("chm:/nationalities.html", "Nationalities and genders"));
    window.findChild<QAction*>("back")->trigger();
    QVERIFY(at("chm:/npc.html", "The NPC window"));
    window.findChild<QAction*>("forward")->trigger();
    QVERIFY(at("chm:/nationalities.html", "Nationalities and genders"));

    // The index: typing finds the first keyword that starts so, Enter opens it.
    QTest::keyClicks(window.indexFilter(), "gen");
    QCOMPARE(window.index()->currentItem()->text(), "Gender");
    QTest::keyClicks(window.indexFilter(), "eration\r");
    QVERIFY(at("chm:/modes.html", "Generation modes"));

    // Search: pages holding every word, the most mentions first; the page
    // opens at the first word, selected.
    tabs->setCurrentIndex(2);
    QTest::keyClicks(window.searchWords(), "Clipboard\r");
    QCOMPARE(rows(window.results()->model()), QStringList({"0 Copying a result", "0 Quick start"}));
    QVERIFY(at("chm:/copying.html", "Copying a result"));
    QCOMPARE(browser->textCursor().selectedText(), "clipboard");
    window.search("npc  DIFFICULTY clipboard");
    QCOMPARE(rows(window.results()->model()), QStringList{"0 Quick start"});
    window.search("clipboard zzyzx");
    QCOMPARE(rows(window.results()->model()), QStringList{"0 No page holds \"clipboard zzyzx\"."});
    QVERIFY(at("chm:/quick-start.html", "Quick start"));

    // Home, and opening again: the first page, no history, nothing left over.
    window.findChild<QAction*>("home")->trigger();
    QVERIFY(at("chm:/index.html", "Welcome to Quillmere"));
    window.showHome();
    QVERIFY(!window.findChild<QAction*>("back")->isEnabled() &&
            !window.findChild<QAction*>("forward")->isEnabled());
    QVERIFY(window.results()->count() == 0 && window.searchWords()->text().isEmpty() &&
            window.index()->count() == 45);
    QCOMPARE(rows(contents->model()), entries);

    // Esc and Ctrl+W close it, from the page or from a box.
    for (const auto& [widget, keys] : {std::pair<QWidget*, QKeySequence>{browser, Qt::Key_Escape},
                                       {window.searchWords(), Qt::CTRL | Qt::Key_W}}) {
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        widget->setFocus();
        QTest::keySequence(&window, keys);
        QVERIFY(!window.isVisible());
    }
}

void TestHelpViewer::linksOfEveryKind()
{
    HelpWindow window(QUILLMERE_TEST_HELP_DIR "/links.chm");
    window.showHome();
    window.show();
    HelpBrowser* browser = window.browser();

    // Web pages and addresses go to the desktop's own programs; anything else
    // stays shut, and the window says so, as it says when a page is missing.
    for (const char* scheme : {"https", "mailto"})
        QDesktopServices::setUrlHandler(scheme, this, "open");
    for (const QString href :
         {"https://example.org/rules", "mailto:author@example.org", "file:///etc/passwd",
          "quillmere-run:deleteall", "javascript:alert(1)"}) {
        const bool out = href.startsWith("https:") || href.startsWith("mailto:");
        QVERIFY2(clickLink(browser, href), qPrintable(href));
        QCOMPARE(std::exchange(opened, {}), out ? QList<QUrl>{QUrl(href)} : QList<QUrl>{});
        QCOMPARE(window.statusBar()->currentMessage(),
                 out ? QString() : "This link leads outside the help and is not opened: " + href);
        QCOMPARE(browser->source(), QUrl("chm:/index.html"));
    }
    for (const char* scheme : {"https", "mailto"})
        QDesktopServices::unsetUrlHandler(scheme);

    // A page the file does not hold says so in its place; Back returns.
    // Within the file, to another page and back to an anchor of the first.
    QVERIFY(clickLink(browser, "gone.html"));
    QCOMPARE(browser->toPlainText(), "The page \"/gone.html\" is not in this help file.");
    window.findChild<QAction*>("back")->trigger();
    QVERIFY(clickLink(browser, "second.html"));
    QCOMPARE(window.statusBar()->currentMessage(), "");
    QVERIFY(clickLink(browser, "index.html#top"));
    QCOMPARE(browser->source(), QUrl("chm:/index.html#top"));
    QCOMPARE(window.contents()->currentItem()->text(0), "Start");
}

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
