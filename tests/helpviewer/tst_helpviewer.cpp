// The help viewer as a reader meets it, after its first page too: the
// contents, the index, searching, links of every kind, Back and Forward,
// opening again, closing; and what it reads from a help file's own objects.
#include "helpformat.h"
#include "helpwindow.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtEndian>
#include <QtTest>

namespace {

const QString kManual = QStringLiteral(QUILLMERE_BUILD_DIR "/quillmere.chm");
const QString kLinks = QStringLiteral(QUILLMERE_TEST_HELP_DIR "/links.chm");

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

QStringList texts(QListWidget* list)
{
    QStringList out;
    for (int row = 0; row < list->count(); ++row)
        out << list->item(row)->text();
    return out;
}

// Each entry of the contents as "depth name".
QStringList tree(QTreeWidget* contents)
{
    QStringList out;
    for (QTreeWidgetItemIterator it(contents); *it; ++it) {
        int depth = 0;
        for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent())
            ++depth;
        out << QString::number(depth) + ' ' + (*it)->text(0);
    }
    return out;
}

QByteArray record(quint16 code, const QByteArray& text)
{
    QByteArray out(4, '\0');
    qToLittleEndian(code, out.data());
    qToLittleEndian(quint16(text.size()), out.data() + 2);
    return out + text;
}

} // namespace

// Takes what the desktop would have opened.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
    Q_INVOKABLE void open(const QUrl& url) { opened.append(url); }
};

class TestHelpViewer : public QObject {
    Q_OBJECT
private slots:
    void helpFileObjects();
    void readingTheManual();
    void linksOfEveryKind();
};

void TestHelpViewer::helpFileObjects()
{
    // #SYSTEM: a version, then records; one cut short ends the walk. A title
    // is one line of text at most 200 long, Latin-1 where it is not UTF-8.
    const QByteArray version(4, '\0');
    auto info = [&](const QByteArray& records) {
        const HelpFileInfo i = ParseSystemObject(version + records);
        return QStringList({i.title, i.defaultTopic, i.contentsFile, i.indexFile});
    };
    QCOMPARE(info(record(3, "T") + record(2, "start.html\0junk") + record(0, "/toc.hhc") +
                  record(1, "keys.hhk") + record(9, "ignored") + record(3, "A\tb\x7f\x01 c") +
                  QByteArray("\x00\x00\x10\x00short", 9)),
             QStringList({"A b c", "/start.html", "/toc.hhc", "/keys.hhk"}));
    QCOMPARE(info(record(3, QByteArray(300, 'x'))).first().size(), 200);
    QCOMPARE(info(record(3, "Caf\xe9")).first(), QString::fromUtf8("Caf\u00e9"));

    // An entry nests at most one level below the one before, however many
    // lists open between; only named objects are entries.
    const QString entry = "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"%1\">"
                          "<param name=\"Local\" value=\"%2\"></OBJECT>\n";
    const QString sitemap =
        "<UL>" + entry.arg("Fish &amp; chips &#x2014;  &lt;b&gt; &#55296;", "a&amp;b.html") +
        "<ul><ul><UL>" + entry.arg("Two", "") + entry.arg("Too", "dir/too.html#part") +
        "</ul></ul></ul></UL>" + entry.arg("Back", "/b.html") + entry.arg("", "none.html") +
        "<object type='text/sitemap'><param value='c.html' name='local'>"
        "<param name=Name value=Single></object><object><param name=\"ImageType\"></object>" +
        "<object type=\"text/sitemap\"><param name=\"Name\" value=\"Unended\">";
    QStringList read;
    for (const HelpTopic& topic : ParseSitemap(sitemap))
        read << QString("%1 %2 %3").arg(topic.depth).arg(topic.name, topic.local);
    QCOMPARE(read,
             QStringList({QString::fromUtf8("0 Fish & chips \u2014 <b> \ufffd /a&b.html"), "1 Two ",
                          "1 Too /dir/too.html#part", "0 Back /b.html", "0 Single /c.html"}));
}

void TestHelpViewer::readingTheManual()
{
    HelpWindow window(kManual);
    QList<QString> reports;
    connect(&window, &HelpWindow::report, this, [&](const QString& line) { reports << line; });
    window.showHome();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    HelpBrowser* browser = window.browser();
    auto* back = window.findChild<QAction*>("back");
    auto* forward = window.findChild<QAction*>("forward");
    QCOMPARE(window.windowTitle(), QString("Quillmere Help"));
    QCOMPARE(reports, QStringList{"showing chm:/index.html"});
    // Sized to fit the screen it opens on, whatever the screen.
    QVERIFY(window.frameGeometry().width() <= window.screen()->availableGeometry().width());
    QVERIFY(window.frameGeometry().height() <= window.screen()->availableGeometry().height());

    // The contents: every page, nested as the manual nests them.
    const QStringList entries = tree(window.contents());
    QCOMPARE(entries.size(), 18);
    QCOMPARE(entries.mid(3, 5),
             QStringList({"0 Generation modes", "1 Game Title", "1 Character Name",
                          "2 Nationalities and genders", "1 Item Name"}));
    QCOMPARE(window.contents()->currentItem()->text(0), QString("Welcome to Quillmere"));
    QTreeWidgetItem* npc = window.contents()->findItems("The NPC window", Qt::MatchExactly)[0];
    window.contents()->scrollToItem(npc);
    QTest::mouseClick(window.contents()->viewport(), Qt::LeftButton, {},
                      window.contents()->visualItemRect(npc).center());
    QCOMPARE(browser->source(), QUrl("chm:/npc.html"));
    QVERIFY(browser->toPlainText().contains("Generation Properties"));

    // A link in a page, then Back and Forward through what was read.
    QVERIFY(clickLink(browser, "nationalities.html"));
    QCOMPARE(browser->source(), QUrl("chm:/nationalities.html"));
    QCOMPARE(window.contents()->currentItem()->text(0), QString("Nationalities and genders"));
    back->trigger();
    QCOMPARE(browser->source(), QUrl("chm:/npc.html"));
    QVERIFY(forward->isEnabled());
    forward->trigger();
    QCOMPARE(browser->source(), QUrl("chm:/nationalities.html"));

    // The index: typing finds the first keyword that starts so, Enter opens it.
    window.tabs()->setCurrentIndex(1);
    QTest::keyClicks(window.indexFilter(), "gen");
    QCOMPARE(window.index()->currentItem()->text(), QString("Gender"));
    QTest::keyClicks(window.indexFilter(), "eration");
    QCOMPARE(window.index()->currentItem()->text(), QString("Generation modes"));
    QTest::keyClick(window.indexFilter(), Qt::Key_Return);
    QCOMPARE(browser->source(), QUrl("chm:/modes.html"));

    // Search: pages holding every word, the most mentions first; the page
    // opens at the first word, selected.
    window.tabs()->setCurrentIndex(2);
    QTest::keyClicks(window.searchWords(), "Clipboard");
    QTest::keyClick(window.searchWords(), Qt::Key_Return);
    QCOMPARE(texts(window.results()), QStringList({"Copying a result", "Quick start"}));
    QCOMPARE(browser->source(), QUrl("chm:/copying.html"));
    QCOMPARE(browser->textCursor().selectedText(), QString("clipboard"));
    window.search("npc  DIFFICULTY");
    QCOMPARE(texts(window.results()).mid(0, 1), QStringList{"The NPC window"});
    QVERIFY(!texts(window.results()).contains("Copying a result"));
    QCOMPARE(browser->source(), QUrl("chm:/npc.html"));
    window.search("clipboard zzyzx");
    QCOMPARE(texts(window.results()), QStringList{"No page holds \"clipboard zzyzx\"."});
    QCOMPARE(browser->source(), QUrl("chm:/npc.html"));

    // Home, and opening again: the first page, no history, nothing left over.
    window.findChild<QAction*>("home")->trigger();
    QCOMPARE(browser->source(), QUrl("chm:/index.html"));
    reports.clear();
    window.showHome();
    QCOMPARE(reports, QStringList{"showing chm:/index.html"});
    QVERIFY(!back->isEnabled() && !forward->isEnabled());
    QVERIFY(window.results()->count() == 0 && window.searchWords()->text().isEmpty());
    QCOMPARE(window.index()->count(), 45);
    QCOMPARE(tree(window.contents()), entries);

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
    HelpWindow window(kLinks);
    window.showHome();
    window.show();
    HelpBrowser* browser = window.browser();

    // Web pages and addresses go to the desktop's own programs; anything else
    // stays shut, and the window says so, as it says when a page is missing.
    UrlCatcher opener;
    QList<QUrl>& opened = opener.opened;
    for (const char* scheme : {"https", "mailto"})
        QDesktopServices::setUrlHandler(scheme, &opener, "open");
    for (const QString href :
         {"https://example.org/rules", "mailto:author@example.org", "file:///etc/passwd",
          "quillmere-run:deleteall", "javascript:alert(1)"}) {
        const bool out = href.startsWith("https:") || href.startsWith("mailto:");
        opened.clear();
        window.statusBar()->clearMessage();
        QVERIFY2(clickLink(browser, href), qPrintable(href));
        QCOMPARE(opened, out ? QList<QUrl>{QUrl(href)} : QList<QUrl>{});
        QCOMPARE(window.statusBar()->currentMessage(),
                 out ? "" : "This link leads outside the help and is not opened: " + href);
        QCOMPARE(browser->source(), QUrl("chm:/index.html"));
    }
    for (const char* scheme : {"https", "mailto"})
        QDesktopServices::unsetUrlHandler(scheme);

    // A page the file does not hold says so in its place; Back returns.
    QVERIFY(clickLink(browser, "gone.html"));
    QCOMPARE(browser->toPlainText(), QString("The page \"/gone.html\" is not in this help file."));
    window.findChild<QAction*>("back")->trigger();

    // Within the file, to another page and back to an anchor of the first.
    QVERIFY(clickLink(browser, "second.html"));
    QCOMPARE(window.statusBar()->currentMessage(), QString());
    QVERIFY(clickLink(browser, "index.html#top"));
    QCOMPARE(browser->source(), QUrl("chm:/index.html#top"));
    QCOMPARE(window.contents()->currentItem()->text(0), QString("Start"));
}

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
