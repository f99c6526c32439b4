// The help as the user meets it, and what becomes of help files that are
// missing, damaged or hostile: each ends in one sentence naming the file while
// the main window carries on, and nothing the reader process sends back or a
// page holds reaches the layout unchecked.
#include "form1.h"
#include "helploader.h"
#include "helpmanual.h"
#include "helppage.h"
#include "helpviewer.h"
#include "hostilefiles.h"
#include "testsupport.h"

#include <QAbstractTextDocumentLayout>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextFrame>
#include <QTextTable>
#include <QTreeWidget>
#include <QtEndian>
#include <QtTest>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sanitizers and unoptimised builds run the same work several times slower.
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr int kSlowdown = 6;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kSlowdown = 6;
#else
constexpr int kSlowdown = 1;
#endif
#else
constexpr int kSlowdown = 1;
#endif
// Longer than this and the user sees a frozen window.
constexpr qint64 kFrozenMs = 250 * kSlowdown;

const QString kBuildDir = QStringLiteral(QUILLMERE_BUILD_DIR);
const QString kTestHelp = QStringLiteral(QUILLMERE_TEST_HELP_DIR);
const QString kSamples = QStringLiteral(QUILLMERE_HELP_SAMPLES);
const QString kCannot = QStringLiteral("Could not open the help file \"%1\" because %2.");
const QString kDamaged = QStringLiteral("The help file \"%1\" is damaged and cannot be shown.");

QString refused(const char* page, const char* reason)
{
    return QStringLiteral("The page \"%1\" is not shown: %2, more than any help page needs.")
        .arg(QLatin1String(page), QLatin1String(reason));
}

QString contentsRefused(const char* reason)
{
    return QStringLiteral("The contents of this help file are not shown: they %1, more than any "
                          "manual needs.\nGo to the first page")
        .arg(QLatin1String(reason));
}

// Turns the event loop as the program's own does, without the pauses
// QTest::qWaitFor makes between turns, which would slow the reader's pipe.
bool waitForHelp(HelpViewer* viewer)
{
    QElapsedTimer clock;
    clock.start();
    while (viewer && viewer->isLoading() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return viewer && !viewer->isLoading();
}

HelpViewer* openHelp(Form1& form)
{
    form.HTMLHelpContents();
    auto* viewer = form.findChild<HelpViewer*>();
    return waitForHelp(viewer) ? viewer : nullptr;
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

// A frame of the reader's reply, written out independently of the program.
QByteArray frame(const char* tag, const QByteArray& payload)
{
    char length[4];
    qToLittleEndian<quint32>(static_cast<quint32>(payload.size()), length);
    return QByteArray(tag, 4) + QByteArray(length, 4) + payload;
}
QByteArray pathed(const QByteArray& path, const QByteArray& rest)
{
    char length[2];
    qToLittleEndian<quint16>(static_cast<quint16>(path.size()), length);
    return QByteArray(length, 2) + path + rest;
}
QByteArray number(quint64 value, int bytes)
{
    char out[8];
    qToLittleEndian<quint64>(value, out);
    return QByteArray(out, bytes);
}

// Tables as Qt's own HTML import builds them: how deep they nest, and their
// rows times columns.
void tablesOf(QTextFrame* frame, int depth, int& deepest, qint64& cells)
{
    for (QTextFrame* child : frame->childFrames()) {
        const bool table = qobject_cast<QTextTable*>(child) != nullptr;
        if (table) {
            auto* t = static_cast<QTextTable*>(child);
            cells += qint64(t->rows()) * t->columns();
        }
        deepest = qMax(deepest, depth + table);
        tablesOf(child, depth + table, deepest, cells);
    }
}

using Measured = QList<int>;
Measured figures(const HtmlMeasure& m)
{
    return {m.depth,    m.elementDepth, m.elements,   m.tableDepth,  m.tableCells,
            m.pictures, m.wordLength,   m.styleRules, m.brokenTables};
}

constexpr HtmlLimits kUnlimited{1 << 30, 1 << 30, 1 << 30, 1 << 30, 1 << 30,
                                1 << 30, 1 << 30, 1 << 30, 1 << 30, INT_MAX};

// Tables as a careless hand writes them: end tags left out, spans, groups,
// tables in cells, and markup around them that reads differently to a
// parser that gets quotes or comments wrong.
QString randomTables(QRandomGenerator& random, int depth)
{
    static const QStringList noise = {"<p>x",
                                      "<b>",
                                      "</b>",
                                      "<li>y",
                                      "<dl><dt>a<dd>b",
                                      "<b x='</table>'>",
                                      "<!-- </td></table> -->",
                                      "<span x=\"</tr>\">w</span>",
                                      " z "};
    auto r = [&](int n) { return random.bounded(n); };
    QString html;
    for (int n = r(4); n > 0; --n) {
        const int pick = r(int(noise.size()) + 3);
        if (pick < noise.size()) {
            html += noise[pick];
        } else if (pick == noise.size()) {
            html += "<div>" + randomTables(random, depth) + (r(2) ? "</div>" : "");
        } else if (pick == noise.size() + 1) {
            html += "<ul>" + randomTables(random, depth) + "</ul>";
        } else if (depth <= 5) {
            html += "<table>";
            html += QStringList{
                "", "", "<caption>c", "<caption>c</caption>", "<tbody>", "<thead>"}[r(6)];
            for (int rows = r(4); rows > 0; --rows) {
                html += "<tr>";
                for (int cells = r(4); cells > 0; --cells) {
                    html += r(5) ? "<td" : "<th";
                    html += QStringList{"", "", "", " colspan=", " rowspan="}[r(5)];
                    html += (html.endsWith('=') ? QString::number(r(6)) : "") + ">";
                    html += randomTables(random, depth + 1) + (r(2) ? "</td>" : "");
                }
                html += r(2) ? "</tr>" : "";
            }
            html += r(8) ? "</table>" : "";
        }
    }
    return html;
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void init() { SetHelpReaderForTesting(kBuildDir + "/quillmere-helpreader"); }
    void cleanup()
    {
        SetExecutableDirForTesting({});
        SetExternalLinkOpener({});
        SetHelpReaderForTesting({});
    }
    void helpPathAndUnreadableFiles_data();
    void helpPathAndUnreadableFiles();
    void viewerOnTheShippedManual();
    void linksLeavingTheHelp_data();
    void linksLeavingTheHelp();
    void pagesAtTheLimitsShowQuickly_data();
    void pagesAtTheLimitsShowQuickly();
    void measureReadsTagsAsQtDoes_data();
    void measureReadsTagsAsQtDoes();
    void measureIsNeverBelowQtsTables();
    void replyIsCheckedFrameByFrame_data();
    void replyIsCheckedFrameByFrame();
    void contentsTree_data();
    void contentsTree();
};

void TestHelp::helpPathAndUnreadableFiles_data()
{
    QTest::addColumn<QString>("dirEnd"); // what the executable's directory text ends in
    QTest::addColumn<QString>("file");   // what is put at the help file's path
    QTest::addColumn<QString>("reader"); // a stand-in for the reader, as a shell script
    QTest::addColumn<QString>("page");   // the page then asked for
    QTest::addColumn<QString>("shown");  // %1: the help file's full path
    auto row = [](const char* tag, const char* file, const QString& shown, const char* page = "",
                  const char* reader = "", const char* dirEnd = "") {
        QTest::newRow(tag) << dirEnd << file << reader << page << shown;
    };
    row("missing", "", kCannot.arg("%1", "there is no such file"));
    row("folder", "folder", kCannot.arg("%1", "it is a folder, not a file"), "", "", "/");
    row("named pipe", "fifo", kCannot.arg("%1", "it is not a regular file"));
    row("/dev/zero", "/dev/zero", kCannot.arg("%1", "it is not a regular file"));
    row("symlink loop", "loop", kCannot.arg("%1", "there is no such file"));
    row("no read permission", "unreadable", kCannot.arg("%1", "it cannot be read"), "",
        "as nobody");
    row("empty", "empty", kCannot.arg("%1", "it is not a compiled HTML help file"));
    row("text", "text", kCannot.arg("%1", "it is not a compiled HTML help file"));
    row("crashes chmlib", "sample:crashes-chmlib.chm", kDamaged);
    row("truncated", "sample:truncated.chm", kDamaged);
    row("reader hangs", "manual", kDamaged, "", "exec sleep 60");
    row("reader floods", "manual", kDamaged, "", "exec cat /dev/zero");
    row("reader crashes", "manual", kDamaged, "", "kill -SEGV $$");
    row("reader fails", "manual", kDamaged, "", "exit 3");
    row("reader babbles", "manual", kDamaged, "", R"(printf 'QMHELP1\nOBJ \377\377\377\377')");
    row("reader refuses", "manual",
        kCannot.arg("%1", "it holds more than 32 MiB of pages and pictures, more than any "
                          "manual needs"),
        "", R"(printf 'QMHELP1\nFAIL\001\000\000\000\007')");
    row("no reader", "manual",
        kCannot.arg("%1", "its reader \"/nonexistent/quillmere-helpreader\" cannot be started"), "",
        "missing");
    auto page = [&](const char* tag, const char* name, const char* reason) {
        row(tag, "test:pages.chm", refused(name, reason), name);
    };
    page("nested tables", "/deep-tables.html", "its tables nest more than 4 deep");
    page("nested inline", "/deep-inline.html", "its elements nest more than 100 deep");
    page("nested lists", "/deep-lists.html", "its elements nest more than 100 deep");
    page("items in paragraphs", "/items-in-paragraphs.html",
         "its elements, paragraphs, list items and table cells included, nest more than 500 deep");
    page("5 nested tables", "/nested-tables.html", "its tables nest more than 4 deep");
    page("many cells", "/many-cells.html",
         "its tables hold more than 2000 cells, a cell counting twice for each table it is "
         "nested in");
    page("many elements", "/many-elements.html", "it holds more than 4000 elements");
    page("many pictures", "/many-pictures.html", "it shows more than 300 pictures");
    page("long word", "/long-word.html", "it has a word longer than 20000 letters");
    page("many style rules", "/many-rules.html", "its style sheets hold more than 300 rules");
    page("3 MiB page", "/big.html", "it is larger than 2 MiB");
    page("5 MiB page", "/huge.html", "it is larger than 2 MiB");
    const char* busy = "laying it out would keep the help window busy for more than 1 s";
    row("long words", "test:pages.chm",
        QString("The page \"/long-words.html\" is not shown: %1.").arg(busy), "/long-words.html");
    row("text in a table", "test:pages.chm",
        QString("The page \"/text-in-a-table.html\" is not shown: %1.").arg(busy),
        "/text-in-a-table.html");
    row("deep contents", "test:deep-contents.chm",
        contentsRefused("nest more than 16 levels deep"));
    row("long contents", "test:long-contents.chm", contentsRefused("hold more than 10000 entries"));
}

void TestHelp::helpPathAndUnreadableFiles()
{
    QFETCH(QString, dirEnd);
    QFETCH(QString, file);
    QFETCH(QString, reader);
    QFETCH(QString, page);
    QFETCH(QString, shown);
    ShippedExeDir words;
    Form1 form;
    form.show();
    TempExeDir exe;
    const QString path = exe.path() + dirEnd + "/quillmere.chm";
    const QByteArray path8 = QFile::encodeName(path);
    auto copy = [&](const QString& from) { QVERIFY(QFile::copy(from, path)); };
    if (file == "folder")
        QVERIFY(QDir().mkdir(path));
    else if (file == "fifo")
        QCOMPARE(mkfifo(path8.constData(), 0644), 0);
    else if (file == "/dev/zero" || file == "loop")
        QCOMPARE(symlink(file == "loop" ? path8.constData() : "/dev/zero", path8.constData()), 0);
    else if (file == "empty" || file == "text")
        exe.write("\\quillmere.chm", file == "text" ? QByteArray("not help\n") : QByteArray());
    else if (file == "manual" || file == "unreadable")
        copy(kBuildDir + "/quillmere.chm");
    else if (file.startsWith("sample:") || file.startsWith("test:"))
        copy((file.startsWith("test:") ? kTestHelp : kSamples) + '/' + file.section(':', 1));
    if (file == "unreadable")
        QVERIFY(QFile::setPermissions(path, {}));
    QTemporaryDir readers;
    if (reader == "as nobody") {
        // Root reads every file: the reader then runs as a user who cannot.
        if (geteuid() != 0)
            reader.clear();
        else if (QStandardPaths::findExecutable("setpriv").isEmpty())
            QSKIP("running as root without setpriv to run the reader as another user");
        else
            reader = "exec setpriv --reuid=nobody --regid=nogroup --clear-groups " + kBuildDir +
                     "/quillmere-helpreader \"$@\"";
    }
    if (reader == "missing") {
        SetHelpReaderForTesting("/nonexistent/quillmere-helpreader");
    } else if (!reader.isEmpty()) {
        const QString script = readers.filePath("reader");
        QFile out(script);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("#!/bin/sh\n" + reader.toUtf8() + "\n");
        out.close();
        QVERIFY(out.setPermissions(out.permissions() | QFile::ExeOwner));
        SetHelpReaderForTesting(script);
    }
    SetExecutableDirForTesting(exe.path() + dirEnd);
    QCOMPARE(form.SetHTMLHelpStrings(), path);
    const auto before = FolderFingerprint(exe.path());

    // The window opens at once and names the file; the program goes on.
    EventLoopWatch watch;
    QElapsedTimer call;
    call.start();
    form.HTMLHelpContents();
    QVERIFY2(call.elapsed() < kFrozenMs, qPrintable(QString::number(call.elapsed())));
    auto* viewer = form.findChild<HelpViewer*>();
    QVERIFY(viewer && viewer->isVisible());
    if (viewer->isLoading())
        QCOMPARE(viewer->browser()->toPlainText(), "Loading the help file \"" + path + "\"...");
    QVERIFY(waitForHelp(viewer));
    if (!page.isEmpty()) {
        call.restart();
        viewer->browser()->setSource(HelpUrl(page));
        QVERIFY2(call.elapsed() < kFrozenMs, qPrintable(QString::number(call.elapsed())));
    }
    QCOMPARE(viewer->browser()->toPlainText(), shown.contains("%1") ? shown.arg(path) : shown);
    QVERIFY2(watch.longestGapMs() < kFrozenMs, qPrintable(QString::number(watch.longestGapMs())));
    QVERIFY(form.isVisible());
    QCOMPARE(FolderFingerprint(exe.path()), before);
}

void TestHelp::viewerOnTheShippedManual()
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
    QVERIFY(waitForHelp(viewer));
    QCOMPARE(viewer->windowTitle(), QString("Quillmere Help"));
    HelpBrowser* browser = viewer->browser();
    QCOMPARE(browser->source(), HelpUrl("/index.html"));
    QCOMPARE(viewer->contents()->topLevelItem(1)->text(0), QString("Quick start"));
    // An internal link, with its picture served from inside the file; Back returns.
    QVERIFY(clickLink(browser, "quick-start.html"));
    QCOMPARE(browser->source(), HelpUrl("/quick-start.html"));
    QCOMPARE(viewer->contents()->currentItem()->text(0), QString("Quick start"));
    QVERIFY(browser->toHtml().contains("images/mode2.gif"));
    const QVariant image =
        browser->document()->resource(QTextDocument::ImageResource, QUrl("images/mode2.gif"));
    QCOMPARE(image.value<QImage>().size(), QSize(24, 24));
    viewer->backAction()->trigger();
    QCOMPARE(browser->source(), HelpUrl("/index.html"));
    // A link out of the file goes to the desktop, not into the viewer.
    QList<QUrl> opened;
    SetExternalLinkOpener([&](const QUrl& url) { return opened << url, true; });
    browser->setSource(HelpUrl("/wordlist-format.html"));
    QVERIFY(clickLink(browser, "https://en.wikipedia.org/wiki/UTF-8"));
    QCOMPARE(opened, QList<QUrl>{QUrl("https://en.wikipedia.org/wiki/UTF-8")});
    QCOMPARE(browser->source(), HelpUrl("/wordlist-format.html"));
    // No page of the manual comes near a limit.
    for (const QFileInfo& page : QDir(SourceDir() + "/help").entryInfoList({"*.html"})) {
        QFile file(page.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const HtmlMeasure m = MeasureHtml(DecodeHelpText(bytes));
        QVERIFY2(CheckHelpPage(bytes).refusal.isEmpty() && m.depth < 10 && m.elementDepth < 20 &&
                     m.tableDepth < 2 && m.tableCells < 200,
                 qPrintable(page.fileName()));
    }
    // "Contents" shows the same window, at the default topic afresh.
    form.cont->trigger();
    QVERIFY(waitForHelp(viewer));
    QCOMPARE(form.findChildren<HelpViewer*>(), QList<HelpViewer*>{viewer});
    QCOMPARE(browser->source(), HelpUrl("/index.html"));
    QVERIFY(!viewer->backAction()->isEnabled());
}

void TestHelp::linksLeavingTheHelp_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<bool>("handedOver");
    QTest::newRow("https") << "https://example.org/rules" << true;
    QTest::newRow("http") << "http://example.org/plain" << true;
    QTest::newRow("mailto") << "mailto:author@example.org" << true;
    QTest::newRow("file") << "file:///etc/passwd" << false;
    QTest::newRow("other program") << "quillmere-run:deleteall" << false;
    QTest::newRow("javascript") << "javascript:alert(1)" << false;
    QTest::newRow("data") << "data:text/html,hello" << false;
    QTest::newRow("ftp") << "ftp://example.org/file" << false;
}

void TestHelp::linksLeavingTheHelp()
{
    QFETCH(QString, href);
    QFETCH(bool, handedOver);
    ShippedExeDir words;
    Form1 form;
    TempExeDir exe;
    QVERIFY(QFile::copy(kTestHelp + "/pages.chm", exe.full("\\quillmere.chm")));
    QList<QUrl> opened;
    SetExternalLinkOpener([&](const QUrl& url) { return opened << url, true; });
    HelpViewer* viewer = openHelp(form);
    QVERIFY(viewer && QTest::qWaitForWindowExposed(viewer));
    QVERIFY(clickLink(viewer->browser(), href));
    QCOMPARE(opened, handedOver ? QList<QUrl>{QUrl(href)} : QList<QUrl>{});
    QCOMPARE(viewer->statusLine()->currentMessage(),
             handedOver ? QString()
                        : "This link leads outside the help and is not opened: " + href);
    QCOMPARE(viewer->browser()->source(), HelpUrl("/index.html"));
}

void TestHelp::pagesAtTheLimitsShowQuickly_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("page");
    for (const char* page : {"/limit-tables.html", "/limit-cells.html", "/limit-inline.html",
                             "/limit-lists.html", "/limit-elements.html", "/limit-pictures.html",
                             "/limit-word.html", "/limit-rules.html", "/limit-size.html"})
        QTest::newRow(page) << "pages.chm" << page;
    QTest::newRow("contents 16 deep, 10000 long") << "limit-contents.chm"
                                                  << "";
}

void TestHelp::pagesAtTheLimitsShowQuickly()
{
    QFETCH(QString, file);
    QFETCH(QString, page);
    ShippedExeDir words;
    Form1 form;
    TempExeDir exe;
    QVERIFY(QFile::copy(kTestHelp + '/' + file, exe.full("\\quillmere.chm")));
    QElapsedTimer clock;
    clock.start();
    HelpViewer* viewer = openHelp(form);
    QVERIFY(viewer && QTest::qWaitForWindowExposed(viewer));
    HelpBrowser* browser = viewer->browser();
    if (!page.isEmpty()) {
        clock.restart();
        browser->setSource(HelpUrl(page));
    }
    browser->document()->documentLayout()->documentSize();
    browser->viewport()->repaint();
    const qint64 ms = clock.elapsed();
    qInfo("%s shown in %lld ms", qPrintable(QTest::currentDataTag()), ms);
    QVERIFY2(ms < 1000 * kSlowdown, qPrintable(QString::number(ms)));
    QVERIFY2(!browser->toPlainText().contains("not shown"), qPrintable(browser->toPlainText()));
    if (page.isEmpty()) {
        int entries = 0;
        int deepest = 0;
        for (QTreeWidgetItemIterator it(viewer->contents()); *it; ++it, ++entries) {
            int depth = 0;
            for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent())
                ++depth;
            deepest = qMax(deepest, depth);
        }
        QCOMPARE(entries, 10000);
        QCOMPARE(deepest, 15);
    }
}

void TestHelp::measureReadsTagsAsQtDoes_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<Measured>("expected");
    // depth, element depth, elements, table depth, cells, pictures, word, style rules, broken
    auto row = [](const char* tag, const char* html, Measured m) {
        QTest::newRow(tag) << QString::fromUtf8(html) << m;
    };
    row("closed inline", "<b>a</b> <i>b</i>", {1, 1, 2, 0, 0, 0, 1, 0, 0});
    row("open inline", "<b>a <i>b <span>c", {3, 3, 3, 0, 0, 0, 1, 0, 0});
    row("end tag closes those inside", "<b><i><u>a</b><s>b", {3, 3, 4, 0, 0, 0, 2, 0, 0});
    row("stray end tags", "<b></i></u>a</b>", {1, 1, 1, 0, 0, 0, 1, 0, 0});
    row("list items end themselves", "<ul><li>a<li>b<li>c</ul>", {1, 2, 4, 0, 0, 0, 3, 0, 0});
    row("items in paragraphs nest", "<li><p><li><p>", {0, 4, 4, 0, 0, 0, 0, 0, 0});
    row("paragraphs end themselves", "<p>a<p>b<p>c", {0, 1, 3, 0, 0, 0, 3, 0, 0});
    row("self-closed", "<b/><i /><span/>x", {0, 0, 3, 0, 0, 0, 1, 0, 0});
    row("childless", "<img src=a><br><hr><meta>", {0, 0, 4, 0, 0, 1, 0, 0, 0});
    row("unknown void elements nest", "<wbr>a<wbr>b<input>", {0, 3, 3, 0, 0, 0, 2, 0, 0});
    row("comment hides tags", "<!-- <b><b><b> --><i>x", {1, 1, 1, 0, 0, 0, 1, 0, 0});
    row("less-than starts a tag", "a < b and c", {1, 1, 1, 0, 0, 0, 1, 0, 0});
    row("quoted end tag is a value", "<b x='>  </b>  '><b x=\"</b>\">",
        {2, 2, 2, 0, 0, 0, 0, 0, 0});
    row("quote inside a bare value", "<b x=a\"><b>\"</b>", {2, 2, 2, 0, 0, 0, 1, 0, 0});
    row("escaped single quote", "<b x='a\\'</b>'><i>", {2, 2, 2, 0, 0, 0, 0, 0, 0});
    row("quoted slash does not close", "<b x=\"/\"><i x='/'>", {2, 2, 2, 0, 0, 0, 0, 0, 0});
    row("name with a reference closes nothing", "<b>x</b&#32;>", {1, 1, 1, 0, 0, 0, 1, 0, 0});
    row("cells and rows", "<table><tr><td>a<td>b<tr><td>c</table>", {1, 3, 6, 1, 4, 0, 3, 0, 0});
    row("column span", "<table><tr><td colspan=30>a<tr><td>b</table>",
        {1, 3, 5, 1, 60, 0, 2, 0, 0});
    row("row span widens", "<table><tr><td rowspan=3>a<td>b<tr><td>c</table>",
        {1, 3, 6, 1, 6, 0, 3, 0, 0});
    row("unknown reference in a span counts high", "<table><tr><td colspan=\"&zz;3\">a</table>",
        {1, 3, 3, 1, 20480, 0, 1, 0, 0});
    row("nested tables count twice", "<table><tr><td><table><tr><td>x</table></table>",
        {2, 6, 6, 2, 3, 0, 1, 0, 0});
    row("cell outside a row", "<td>x", {0, 1, 1, 0, 0, 0, 0, 0, 1});
    row("row outside a table", "<tr>x", {0, 1, 1, 0, 0, 0, 0, 0, 1});
    row("table beside the cells", "<table><tr><table>", {2, 3, 3, 2, 0, 0, 0, 0, 1});
    row("table closed by another end tag", "<div><table><tr><td>x</div>",
        {2, 4, 4, 1, 1, 0, 1, 0, 1});
    row("word runs across tags", "<p>abc<b>def</b>ghi jk</p>", {1, 2, 2, 0, 0, 0, 9, 0, 0});
    row("no-break space joins words", "ab\u00A0cd", {0, 0, 0, 0, 0, 0, 5, 0, 0});
    row("ideographs break", "日本語の文章", {0, 0, 0, 0, 0, 0, 0, 0, 0});
    row("style rules", "<style>a{x:y} b{} @media print{}</style>p", {1, 1, 1, 0, 0, 0, 1, 4, 0});
    row("background pictures", "<body background=a.png><table background=''><tr background=b>",
        {1, 3, 3, 1, 0, 2, 0, 0, 0});
}

void TestHelp::measureReadsTagsAsQtDoes()
{
    QFETCH(QString, html);
    QFETCH(Measured, expected);
    QCOMPARE(figures(MeasureHtml(html, kUnlimited)), expected);
}

void TestHelp::measureIsNeverBelowQtsTables()
{
    // Tables read by Qt and measured here: unless the measure finds them
    // broken, it may be higher than what Qt builds, never lower.
    QRandomGenerator random(20240611);
    int whole = 0;
    for (int i = 0; i < 1500; ++i) {
        const QString html = randomTables(random, 0);
        QTextDocument document;
        document.setHtml(html);
        int depth = 0;
        qint64 cells = 0;
        tablesOf(document.rootFrame(), 0, depth, cells);
        const HtmlMeasure measure = MeasureHtml(html, kUnlimited);
        whole += !measure.brokenTables;
        QVERIFY2(measure.brokenTables ||
                     (measure.tableDepth >= depth && measure.tableCells >= cells),
                 qPrintable(QString("%1: Qt %2 deep, %3 cells").arg(html).arg(depth).arg(cells)));
    }
    QVERIFY2(whole > 1000, qPrintable(QString::number(whole)));
}

void TestHelp::replyIsCheckedFrameByFrame_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("failure"); // 0: read, 6: no pages, 8: damaged ...
    const QByteArray magic = "QMHELP1\n";
    const QByteArray page = frame("OBJ ", pathed("/a.html", "<p>a</p>"));
    const QByteArray home = frame("HOME", "/a.html");
    auto end = [](int count) { return frame("END ", number(count, 4)); };
    const QByteArray whole = magic + frame("TITL", "T") + home + page + end(1);
    auto row = [](const char* tag, const QByteArray& reply, int failure) {
        QTest::newRow(tag) << reply << failure;
    };
    row("whole", whole, 0);
    row("big page", magic + home + frame("BIG ", pathed("/a.html", number(5 << 20, 8))) + end(1),
        0);
    row("no magic", whole.mid(1), 8);
    row("cut short", whole.chopped(1), 8);
    row("no end", magic + home + page, 8);
    row("after the end", whole + "x", 8);
    row("wrong count", magic + home + page + end(2), 8);
    row("length past the end", magic + home + "OBJ \xff\xff\xff\xff", 8);
    row("unknown frame", magic + home + page + frame("EXEC", "x") + end(1), 8);
    row("two titles", magic + frame("TITL", "a") + frame("TITL", "b") + home + page + end(1), 8);
    row("control character in title", magic + frame("TITL", "a\nb") + home + page + end(1), 8);
    row("relative path", magic + home + frame("OBJ ", pathed("a.html", "")) + end(1), 8);
    row("path past its frame",
        magic + home + frame("OBJ ", pathed("/a.html", "").chopped(1)) + end(1), 8);
    row("broken UTF-8", magic + home + page + frame("OBJ ", pathed("/\xc3.html", "")) + end(2), 8);
    row("same object twice", magic + home + page + page + end(2), 8);
    row("object over 4 MiB",
        magic + home + page + frame("OBJ ", pathed("/b.png", QByteArray((4 << 20) + 1, 'x'))) +
            end(2),
        8);
    QByteArray many = magic + home + page;
    for (int i = 0; i < 8; ++i)
        many += frame("OBJ ", pathed("/" + QByteArray::number(i), QByteArray(4 << 20, 'x')));
    row("more than 32 MiB", many + end(9), 8);
    QByteArray crowd = magic + home + page;
    for (int i = 0; i < 4096; ++i)
        crowd += frame("OBJ ", pathed("/" + QByteArray::number(i), ""));
    row("more than 4096 objects", crowd + end(4097), 8);
    row("home not inside", magic + frame("HOME", "/b.html") + page + end(1), 6);
    row("failure", magic + frame("FAIL", "\x03"), 3);
    row("failure after frames", magic + home + frame("FAIL", "\x03"), 8);
    row("unknown failure", magic + frame("FAIL", "\x09"), 8);
}

void TestHelp::replyIsCheckedFrameByFrame()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, failure);
    const HelpReply parsed = ParseHelpReply(reply);
    QCOMPARE(static_cast<int>(parsed.failure), failure);
    if (failure == 0) {
        // What is read is exactly what the reader's own encoding gives back.
        QCOMPARE(parsed.manual.defaultTopic, QString("/a.html"));
        QCOMPARE(ParseHelpReply(EncodeHelpReply(parsed)).manual, parsed.manual);
    } else {
        QCOMPARE(parsed.manual, HelpManual{});
    }
}

void TestHelp::contentsTree_data()
{
    QTest::addColumn<QString>("sitemap");
    QTest::addColumn<QStringList>("topics"); // depth, name, page
    auto entry = [](const char* name, const char* local = nullptr) {
        QString e = QString("<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"%1\">")
                        .arg(name);
        if (local)
            e += QString("<param name=\"Local\" value=\"%1\">").arg(local);
        return e + "</OBJECT>\n";
    };
    QTest::newRow("levels and references")
        << "<UL>" + entry("Fish &amp; chips &#x2014;  &lt;b&gt;", "a&amp;b.html") + "<UL>" +
               entry("Two") + "</UL>" + entry("Three", "dir/three.html#part") + "</UL>"
        << QStringList{QString::fromUtf8("0 Fish & chips \u2014 <b> /a&b.html"), "1 Two ",
                       "0 Three /dir/three.html#part"};
    QTest::newRow("never more than one level down")
        << "<ul>" + entry("Top") + "<ul><ul><ul>" + entry("Deep") + entry("Deep too") +
               "</ul></ul></ul></ul>" + entry("Back")
        << QStringList{"0 Top ", "1 Deep ", "1 Deep too ", "0 Back "};
    QTest::newRow("other objects and unfinished tags")
        << "<ul><object type=\"application/x-other\"><param name=\"Name\" value=\"No\"></object>" +
               entry("Yes", "y.html") + "<object type=\"text/sitemap\"><param name=\"Name\""
        << QStringList{"0 Yes /y.html"};
}

void TestHelp::contentsTree()
{
    QFETCH(QString, sitemap);
    QFETCH(QStringList, topics);
    QStringList read;
    for (const HelpTopic& topic : ParseContents(sitemap))
        read << QString("%1 %2 %3").arg(topic.depth).arg(topic.name, topic.local);
    QCOMPARE(read, topics);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
