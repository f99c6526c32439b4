// The help as the user meets it, and what becomes of help files that are
// missing, damaged or hostile: each ends in one sentence naming the file while
// the main window carries on, and nothing the reader process sends back or a
// page holds reaches the layout unchecked.
#include "form1.h"
#include "helploader.h"
#include "helpmanual.h"
#include "helppage.h"
#include "helpviewer.h"
#include "testsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QStatusBar>
#include <QTreeWidget>
#include <QtEndian>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sanitizers and unoptimised builds run the same work several times slower.
#ifndef __has_feature
#define __has_feature(x) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer) || !defined(NDEBUG)
constexpr int kSlowdown = 6;
#else
constexpr int kSlowdown = 1;
#endif
// Longer than this and the user sees a frozen window. A page at the limits
// may take up to a second to lay out on the machine the limits were measured
// on; twice that leaves room for a slower or busy one.
constexpr qint64 kFrozenMs = 500 * kSlowdown;
constexpr qint64 kLayoutMs = 2000 * kSlowdown;

const QString kBuildDir = QStringLiteral(QUILLMERE_BUILD_DIR);
const QString kReader = kBuildDir + "/quillmere-helpreader";
const QString kDamaged = QStringLiteral("The help file \"%1\" is damaged and cannot be shown.");

const auto cannot = [](const char* why) {
    return "Could not open the help file \"%1\" because " + QString(why) + '.';
};
const auto needs = [](const char* why) { return QString(why) + ", more than any help page needs"; };

// Turns the event loop as the program's own does, without the pauses
// QTest::qWaitFor makes between turns, which would slow the reader's pipe,
// until the help is read; the longest turn is how long the window froze.
qint64 waitForHelp(HelpViewer* viewer)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longest = 0;
    while (viewer->isLoading() && clock.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        longest = qMax(longest, clock.elapsed() - last);
        last = clock.elapsed();
    }
    return viewer->isLoading() ? -1 : longest;
}

bool clickLink(HelpBrowser* browser, const QString& href)
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

// Numbers and frames of the reader's reply, written out independently of the
// program.
QByteArray le(quint64 value, int bytes)
{
    const quint64 out = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char*>(&out), bytes);
}
const auto frame = [](const char* tag, QByteArray p) { return tag + le(p.size(), 4) + p; };
const auto obj = [](const QByteArray& path, const QByteArray& rest, const char* tag = "OBJ ") {
    return frame(tag, le(path.size(), 2) + path + rest);
};

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void init() { SetHelpReaderForTesting(kReader); }
    void cleanup() { SetExternalLinkOpener({}); }
    void helpFiles_data();
    void helpFiles();
    void viewerAndLinks();
    void pagesAreCheckedBeforeLayout();
    void replyIsCheckedFrameByFrame();
};

void TestHelp::helpFiles_data()
{
    QTest::addColumn<QString>("file");   // what is put at the help file's path
    QTest::addColumn<QString>("reader"); // a stand-in for the reader, as a shell script
    QTest::addColumn<QString>("page");   // the page then asked for
    QTest::addColumn<QString>("shown");  // %1: the help file's full path; empty: the page
    auto row = [](const char* tag, const QString& file, const QString& shown,
                  const QString& reader = {},
                  const char* page = "") { QTest::newRow(tag) << file << reader << page << shown; };
    const QString manual = kBuildDir + "/quillmere.chm";
    const QString test = QStringLiteral(QUILLMERE_TEST_HELP_DIR "/");
    row("missing", "", cannot("there is no such file"));
    row("folder", "folder", cannot("it is a folder, not a file"));
    row("named pipe", "fifo", cannot("it is not a regular file"));
    row("/dev/zero", "/dev/zero", cannot("it is not a regular file"));
    row("symlink loop", "loop", cannot("there is no such file"));
    row("no read permission", manual, cannot("it cannot be read"), "as nobody");
    row("empty", "empty", cannot("it is not a compiled HTML help file"));
    row("text", "not help", cannot("it is not a compiled HTML help file"));
    row("crashes chmlib", QUILLMERE_HELP_SAMPLES "/crashes-chmlib.chm", kDamaged);
    row("truncated", QUILLMERE_HELP_SAMPLES "/truncated.chm", kDamaged);
    row("reader hangs", manual, kDamaged, "exec sleep 60");
    row("reader floods", manual, kDamaged, "exec cat /dev/zero");
    row("reader crashes", manual, kDamaged, "kill -SEGV $$");
    row("reader fails", manual, kDamaged, kReader + " \"$@\"; exit 3");
    row("reader babbles", manual, kDamaged, R"(printf 'QMHELP1\nOBJ \377\377\377\377')");
    row("reader refuses", manual,
        cannot("it holds more than 32 MiB of pages and pictures, more than any manual needs"),
        R"(printf 'QMHELP1\nFAIL\001\000\000\000\007')");
    row("no reader", manual,
        cannot("its reader \"/nonexistent/quillmere-helpreader\" cannot be started"), "missing");
    // Pages beyond a limit are refused at once, pages just inside every limit
    // show within a second (see helpfiles/make-test-help.cmake).
    const QString refused = "The page \"%1\" is not shown: %2.";
    auto page = [&](const char* name, const QString& why) {
        row(name, test + "pages.chm", why.isEmpty() ? why : refused.arg(name, why), "", name);
    };
    page("/deep-tables.html", needs("its tables nest more than 4 deep"));
    for (const char* name : {"/deep-inline.html", "/deep-lists.html"})
        page(name, needs("its elements nest more than 100 deep"));
    for (const char* name : {"/big.html", "/huge.html"})
        page(name, needs("it is larger than 2 MiB"));
    for (const char* name : {"/long-words.html", "/text-in-a-table.html"})
        page(name, "laying it out would keep the help window busy for more than 1 s");
    for (const char* name : {"/limit-tables.html", "/limit-cells.html", "/limit-inline.html",
                             "/limit-lists.html", "/limit-elements.html", "/limit-pictures.html",
                             "/limit-word.html", "/limit-rules.html", "/limit-size.html"})
        page(name, "");
    const QString contents = "The contents of this help file are not shown: they %1, more than "
                             "any manual needs.\nGo to the first page";
    row("deep contents", test + "deep-contents.chm", contents.arg("nest more than 16 levels deep"));
    row("long contents", test + "long-contents.chm", contents.arg("hold more than 10000 entries"));
    row("contents 16 deep, 10000 long", test + "limit-contents.chm", "");
}

void TestHelp::helpFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, reader);
    QFETCH(QString, page);
    QFETCH(QString, shown);
    ShippedExeDir words;
    Form1 form;
    form.show();
    TempExeDir exe;
    // The folder is named with a trailing separator, which must not matter.
    const QString dirEnd = file == "folder" ? "/" : "";
    const QString path = exe.path() + dirEnd + "/quillmere.chm";
    const QByteArray path8 = QFile::encodeName(path);
    if (file == "folder")
        QVERIFY(QDir().mkdir(path));
    else if (file == "fifo")
        QCOMPARE(mkfifo(path8.constData(), 0644), 0);
    else if (file == "/dev/zero" || file == "loop")
        QCOMPARE(symlink(file == "loop" ? path8.constData() : "/dev/zero", path8.constData()), 0);
    else if (file.startsWith('/'))
        QVERIFY(QFile::copy(file, path));
    else if (!file.isEmpty())
        exe.write("\\quillmere.chm", file == "empty" ? QByteArray() : file.toUtf8());
    if (reader == "as nobody") {
        // Root reads every file: the reader then runs as a user who cannot.
        QVERIFY(QFile::setPermissions(path, {}));
        const QString setpriv = "exec setpriv --reuid=nobody --regid=nogroup --clear-groups ";
        reader = geteuid() ? QString() : setpriv + kReader + " \"$@\"";
    }
    if (!reader.isEmpty()) {
        const QString script = exe.write("\\reader", "#!/bin/sh\n" + reader.toUtf8() + "\n");
        QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner));
        SetHelpReaderForTesting(reader == "missing" ? "/nonexistent/quillmere-helpreader" : script);
    }
    SetExecutableDirForTesting(exe.path() + dirEnd);
    QCOMPARE(form.SetHTMLHelpStrings(), path);
    const QStringList before = FolderSignature(exe.path());

    // The window opens at once, says it is loading and names the file; the
    // program goes on.
    const qint64 allowed = shown.isEmpty() ? kLayoutMs : kFrozenMs;
    QElapsedTimer call;
    call.start();
    form.HTMLHelpContents();
    QVERIFY2(call.elapsed() < kFrozenMs, qPrintable(QString::number(call.elapsed())));
    auto* viewer = form.findChild<HelpViewer*>();
    QVERIFY(viewer && viewer->isVisible());
    HelpBrowser* browser = viewer->browser();
    if (viewer->isLoading())
        QCOMPARE(browser->toPlainText(), "Loading the help file \"" + path + "\"...");
    const qint64 frozen = waitForHelp(viewer);
    QVERIFY2(frozen >= 0 && frozen < allowed, qPrintable(QString::number(frozen)));
    if (!page.isEmpty()) {
        call.restart();
        browser->setSource(HelpUrl(page));
        browser->document()->documentLayout()->documentSize();
        browser->viewport()->repaint();
        QVERIFY2(call.elapsed() < allowed, qPrintable(QString::number(call.elapsed())));
    }
    if (shown.isEmpty())
        QVERIFY2(!browser->toPlainText().contains("not shown"), qPrintable(browser->toPlainText()));
    else
        QCOMPARE(browser->toPlainText(), QString(shown).replace("%1", path));
    QVERIFY(form.isVisible());
    QCOMPARE(FolderSignature(exe.path()), before);
    QTreeWidgetItem* item = viewer->contents()->topLevelItem(0);
    for (int depth = 0; item && depth < 14; ++depth)
        item = item->child(0);
    // limit-contents.chm has 15 entries one in another, 9985 in the last.
    QVERIFY(!file.endsWith("limit-contents.chm") || (item && item->childCount() == 9985));
}

void TestHelp::viewerAndLinks()
{
    SetExecutableDirForTesting(kBuildDir);
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);
    QTest::keyClick(&form, Qt::Key_F1);
    auto* viewer = form.findChild<HelpViewer*>();
    QVERIFY(viewer && QTest::qWaitForWindowExposed(viewer));
    QVERIFY(viewer->parentWidget() == &form && viewer->isWindow() && !viewer->isModal());
    QVERIFY(waitForHelp(viewer) >= 0);
    QCOMPARE(viewer->windowTitle(), QString("Quillmere Help"));
    HelpBrowser* browser = viewer->browser();
    QCOMPARE(browser->source(), HelpUrl("/index.html"));
    QCOMPARE(viewer->contents()->topLevelItem(1)->text(0), QString("Quick start"));
    // An internal link, with its picture served from inside the file; Back returns.
    QVERIFY(clickLink(browser, "quick-start.html"));
    QCOMPARE(browser->source(), HelpUrl("/quick-start.html"));
    QCOMPARE(viewer->contents()->currentItem()->text(0), QString("Quick start"));
    const QVariant image =
        browser->document()->resource(QTextDocument::ImageResource, QUrl("images/mode2.gif"));
    QCOMPARE(image.value<QImage>().size(), QSize(24, 24));
    viewer->backAction()->trigger();
    QCOMPARE(browser->source(), HelpUrl("/index.html"));
    // Every page of the manual stays far below the limits.
    for (const QFileInfo& page : QDir(SourceDir() + "/help").entryInfoList({"*.html"})) {
        QFile file(page.filePath());
        const HtmlMeasure m =
            file.open(QIODevice::ReadOnly) ? CheckHelpPage(file.readAll()).measure : HtmlMeasure{};
        QVERIFY2(m.elements > 0 && m.depth < 10 && m.tableDepth < 2 && m.tableCells < 200 &&
                     m.layoutWork < 200000,
                 qPrintable(page.fileName()));
    }

    // "Contents" shows the same window, with the file read afresh: here one
    // with links of every kind. Web pages and addresses go to the desktop's
    // own programs; nothing else leaves the help, and the status line says so.
    TempExeDir exe;
    QVERIFY(QFile::copy(QUILLMERE_TEST_HELP_DIR "/pages.chm", exe.full("\\quillmere.chm")));
    QList<QUrl> opened;
    SetExternalLinkOpener([&](const QUrl& url) { return opened << url, true; });
    form.cont->trigger();
    QVERIFY(waitForHelp(viewer) >= 0);
    QCOMPARE(form.findChildren<HelpViewer*>(), QList<HelpViewer*>{viewer});
    QCOMPARE(browser->source(), HelpUrl("/index.html"));
    QVERIFY(!viewer->backAction()->isEnabled());
    const QString refused = "This link leads outside the help and is not opened: ";
    for (const char* href :
         {"https://example.org/rules", "http://example.org/plain", "mailto:author@example.org",
          "file:///etc/passwd", "quillmere-run:deleteall", "javascript:alert(1)",
          "data:text/html,hello", "ftp://example.org/file"}) {
        const bool out = QString(href).contains(QRegularExpression("^(https?|mailto):"));
        opened.clear();
        viewer->statusLine()->clearMessage();
        QVERIFY2(clickLink(browser, href), href);
        QCOMPARE(opened, out ? QList<QUrl>{QUrl(href)} : QList<QUrl>{});
        QCOMPARE(viewer->statusLine()->currentMessage(), out ? QString() : refused + href);
        QCOMPARE(browser->source(), HelpUrl("/index.html"));
    }
}

void TestHelp::pagesAreCheckedBeforeLayout()
{
    // html is "head|unit", most the most copies of unit that still show.
    auto row = [](const QString& html, int most, const QString& reason) {
        const QList<QByteArray> part = html.toUtf8().split('|');
        auto page = [&](int n) { return CheckHelpPage(part[0] + part[1].repeated(n)).refusal; };
        const QString at = page(most), past = page(most + 1);
        QVERIFY2(at.isEmpty() && past == reason, qPrintable(html + ": " + at + past));
    };
    // Markup that a parser could read differently hides no nesting.
    for (const char* html : {"|<b>", "|<ul><li>", "|<b x='</b>'>", "|<b><!-- > </b> -->",
                             "|<b x='\\'></b>'>", "|<b>x</b&#32;>"})
        row(html, 100, needs("its elements nest more than 100 deep"));
    row("|<li><p>", 250,
        needs("its elements, paragraphs, list items and table cells included, nest more than 500 "
              "deep"));
    // List items and paragraphs end themselves.
    for (const char* html : {"|<br>", "|<li>", "|<p>"})
        row(html, 4000, needs("it holds more than 4000 elements"));
    row("|<table><tr><td>", 4, needs("its tables nest more than 4 deep"));
    const QString cells = needs("its tables hold more than 2000 cells, a cell counting twice for "
                                "each table it is nested in");
    row("<table><tr>|<td>", 2000, cells);
    row("<table><tr>|<td colspan=2>", 1000, cells);
    row("<table><tr><td rowspan=2>|<td>", 1998, cells);
    row("<table><tr><td><table><tr>|<td>", 999, cells);
    // Tables that Qt would have to repair, with a cell outside a table or one
    // closed by another element's end tag, are not laid out at all.
    for (const char* html : {"<p>|<td>", "<div><table><tr><td>|</div>"})
        row(html, 0,
            "its table markup is broken: a row or cell outside its table, or a table closed by "
            "another element's end tag");
    for (const char* html : {"|<img src=a.png>", "|<p background=a.png>"})
        row(html, 300, needs("it shows more than 300 pictures"));
    row("|w", 20000, needs("it has a word longer than 20000 letters"));
    row("<style>|p{}", 300, needs("its style sheets hold more than 300 rules"));
    row("|a ", 1 << 20, needs("it is larger than 2 MiB"));

    // What a page loads comes from the file, within the same budgets.
    auto pbm = [](int w, int h) {
        return QString("P4 %1 %2\n").arg(w).arg(h).toLatin1() + QByteArray((w + 7) / 8 * h, 0);
    };
    auto manual = std::make_shared<HelpManual>();
    manual->objects = {{"/a.html", "<p>a"},   {"/all.pbm", pbm(4096, 4096)},
                       {"/a.pbm", pbm(2, 2)}, {"/wide.pbm", pbm(4097, 1)},
                       {"/a.css", "p{}"},     {"/rules.css", QByteArray("p{}").repeated(300)}};
    HelpBrowser browser;
    browser.setManual(manual);
    auto load = [&](int type, const QUrl& url) { return browser.loadResource(type, url); };
    auto picture = [&](const char* path) {
        return load(QTextDocument::ImageResource, HelpUrl(path)).value<QImage>().size();
    };
    // A page decodes 16 MiB pixels of pictures at most, none over 4096 across.
    load(QTextDocument::HtmlResource, HelpUrl("/a.html"));
    QCOMPARE(picture("/all.pbm"), QSize(4096, 4096));
    QCOMPARE(picture("/a.pbm"), QSize(1, 1));
    load(QTextDocument::HtmlResource, HelpUrl("/a.html"));
    QCOMPARE(picture("/a.pbm"), QSize(2, 2));
    QCOMPARE(picture("/wide.pbm"), QSize(1, 1));
    // Style sheets share the page's 300 rules.
    QCOMPARE(load(QTextDocument::StyleSheetResource, HelpUrl("/a.css")).toString(), QString("p{}"));
    QVERIFY(!load(QTextDocument::StyleSheetResource, HelpUrl("/rules.css")).isValid());
    // Nothing comes from outside the file.
    QVERIFY(!load(QTextDocument::StyleSheetResource, QUrl("file:///a.css")).isValid());

    // An entry nests at most one level below the one before, however many
    // lists open between; only named sitemap objects are entries.
    const QString entry = "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"%1\">"
                          "<param name=\"Local\" value=\"%2\"></OBJECT>\n";
    const QString sitemap =
        "<UL>" + entry.arg("Fish &amp; chips &#x2014;  &lt;b&gt;", "a&amp;b.html") +
        "<ul><ul><UL>" + entry.arg("Two", "") + entry.arg("Too", "dir/too.html#part") +
        "</ul></ul></ul></UL>" + entry.arg("Back", "b.html") + entry.arg("", "none.html") +
        "<object type=\"application/x-other\"><param name=\"Name\" value=\"No\"></object>" +
        "<object type=\"text/sitemap\"><param name=\"Name\"";
    QStringList read;
    for (const HelpTopic& topic : ParseContents(sitemap))
        read << QString("%1 %2 %3").arg(topic.depth).arg(topic.name, topic.local);
    QCOMPARE(read, QStringList({QString::fromUtf8("0 Fish & chips \u2014 <b> /a&b.html"), "1 Two ",
                                "1 Too /dir/too.html#part", "0 Back /b.html"}));
}

void TestHelp::replyIsCheckedFrameByFrame()
{
    // failure 0: read, 3: not a regular file, 6: no pages, 8: damaged. What is
    // read is exactly what the reader's own encoding gives back.
    auto row = [](const char* tag, const QByteArray& reply, int failure) {
        const HelpReply got = ParseHelpReply(reply);
        QVERIFY2(int(got.failure) == failure &&
                     got.manual.defaultTopic == (failure ? "" : "/a.html") &&
                     ParseHelpReply(EncodeHelpReply(got)).manual == got.manual,
                 tag);
    };
    const QByteArray magic = "QMHELP1\n";
    const QByteArray page = obj("/a.html", "<p>a</p>");
    const QByteArray home = magic + frame("HOME", "/a.html");
    auto end = [](int count) { return frame("END ", le(count, 4)); };
    const QByteArray whole = magic + frame("TITL", "T") + frame("HOME", "/a.html") + page + end(1);
    QByteArray many = home + page, crowd = home + page;
    for (int i = 0; i < 4096; ++i) {
        crowd += obj("/" + QByteArray::number(i), "");
        many += i < 8 ? obj("/" + QByteArray::number(i), QByteArray(4 << 20, 'x')) : "";
    }
    row("whole", whole, 0);
    row("big page", home + obj("/a.html", le(5 << 20, 8), "BIG ") + end(1), 0);
    row("wrong magic", "QMHELP2\n" + whole.mid(8), 8);
    row("cut short", whole.chopped(1), 8);
    row("no end", home + page, 8);
    row("after the end", whole + frame("TOCF", "/a.html"), 8);
    row("wrong count", home + page + end(2), 8);
    row("length past the end", home + "OBJ \xff\xff\xff\xff", 8);
    row("unknown frame", home + page + frame("EXEC", "x") + end(1), 8);
    row("two titles", home + frame("TITL", "a") + frame("TITL", "b") + page + end(1), 8);
    row("control character in title", home + frame("TITL", "a\nb") + page + end(1), 8);
    row("relative path", home + obj("a.html", "") + end(1), 8);
    row("path past its frame", home + frame("OBJ ", le(7, 2) + "/a.htm") + end(1), 8);
    row("broken UTF-8", home + page + obj("/\xc3.html", "") + end(2), 8);
    row("same object twice", home + page + page + end(1), 8);
    row("object over 4 MiB", home + page + obj("/b.png", QByteArray((4 << 20) + 1, 'x')) + end(2),
        8);
    row("more than 32 MiB", many + end(9), 8);
    row("more than 4096 objects", crowd + end(4097), 8);
    row("home not inside", magic + frame("HOME", "/b.html") + page + end(1), 6);
    row("failure", magic + frame("FAIL", "\x03"), 3);
    row("failure after frames", home + frame("FAIL", "\x03"), 8);
    row("unknown failure", magic + frame("FAIL", "\x09"), 8);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
