// The help path, the help viewer on the shipped manual, and F1.
#include "form1.h"
#include "helpviewer.h"
#include "htmlhelp.h"
#include "modes.h"
#include "nationalities.h"
#include "npcstats.h"
#include "paths.h"
#include "resultbox.h"
#include "testsupport.h"
#include "twoword.h"

#include <QAction>
#include <QPushButton>
#include <QTextBlock>
#include <QTextTable>
#include <QTreeWidget>
#include <QtTest>
#include <sys/stat.h>

namespace {

QString shippedHelp()
{
    return QStringLiteral(QUILLMERE_BUILD_DIR "/quillmere.chm");
}

// Clicks the link to `href` where the page shows it; false if there is none.
bool clickLink(HelpBrowser* browser, const QString& href)
{
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(it.fragment().position() + it.fragment().length() / 2);
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            const QPoint point = browser->cursorRect(cursor).center();
            QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, point);
            return true;
        }
    }
    return false;
}

QTreeWidgetItem* topic(QTreeWidget* contents, const QString& name)
{
    const QList<QTreeWidgetItem*> found =
        contents->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.size() == 1 ? found.first() : nullptr;
}

void row(const char* name, const char* a, const char* b)
{
    QTest::newRow(name) << QString(a) << QString(b);
}

QString linuxPath(const char* relative)
{
    return QString::fromLatin1(relative).mid(1).replace(QLatin1Char('\\'), QLatin1Char('/'));
}

// The build tree: data/ and the compiled manual beside the executable.
struct BuildExeDir {
    BuildExeDir() { SetExecutableDirForTesting(QStringLiteral(QUILLMERE_BUILD_DIR)); }
    ~BuildExeDir() { SetExecutableDirForTesting(QString()); }
};

struct OpenerSpy {
    QList<QUrl> opened;
    OpenerSpy()
    {
        SetExternalLinkOpener([this](const QUrl& url) {
            opened << url;
            return true;
        });
    }
    ~OpenerSpy() { SetExternalLinkOpener({}); }
};

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void helpPath_data();
    void helpPath();
    void viewerOnTheShippedManual();
    void manualQuotesTheProgram();
    void unreadableFile_data();
    void unreadableFile();
    void f1AndContentsOpenTheSameWindow();
};

void TestHelp::helpPath_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("expected");
    row("plain", "/opt/quillmere", "/opt/quillmere/quillmere.chm");
    row("ends in separator", "/opt/quillmere/", "/opt/quillmere//quillmere.chm");
    row("root", "/", "//quillmere.chm");
}

void TestHelp::helpPath()
{
    QFETCH(QString, dir);
    QFETCH(QString, expected);
    ProblemCatcher problems;
    TempExeDir exe; // no data and no help file
    Form1 form;
    QTRY_COMPARE(problems.messages.size(), 1); // the missing word lists, told after start-up
    // Joined as text, unchecked, and built anew on every call.
    SetExecutableDirForTesting(dir);
    QCOMPARE(form.SetHTMLHelpStrings(), expected);
    SetExecutableDirForTesting(exe.path() + "/");
    const QString absent = exe.path() + "//quillmere.chm";
    QCOMPARE(form.SetHTMLHelpStrings(), absent);

    // That very path reaches the viewer, which names it; the program goes on.
    form.HTMLHelpContents();
    auto* viewer = form.findChild<HelpViewer*>();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(
        viewer->browser()->toPlainText(),
        QString("Could not open the help file \"%1\" because there is no such file.").arg(absent));
    form.Command1->click();
    QCOMPARE(form.Text2->text(), QString(" "));
}

void TestHelp::viewerOnTheShippedManual()
{
    QWidget owner;
    owner.show();
    QWidget* window = HtmlHelp(&owner, shippedHelp().toLocal8Bit(), HH_DISPLAY_TOPIC, 0);
    auto* viewer = qobject_cast<HelpViewer*>(window);
    QVERIFY(viewer);
    QVERIFY(QTest::qWaitForWindowExposed(viewer));
    QCOMPARE(viewer->parentWidget(), &owner);
    QVERIFY(viewer->isWindow());
    QCOMPARE(viewer->windowModality(), Qt::NonModal);
    QCOMPARE(viewer->windowTitle(), QString("Quillmere Help"));
    HelpBrowser* browser = viewer->browser();
    QTreeWidget* contents = viewer->contents();
    QCOMPARE(browser->source(), HelpUrl("/index.html"));
    QCOMPARE(browser->documentTitle(), QString("Welcome to Quillmere"));
    // The style sheet came from inside the file too: headings take its colour.
    const QTextCharFormat heading = browser->document()->begin().begin().fragment().charFormat();
    QCOMPARE(heading.foreground().color(), QColor("#4a3020"));
    QCOMPARE(contents->currentItem(), topic(contents, "Welcome to Quillmere"));

    // The contents pane is the file's table of contents, nested as written,
    // and lists every page of the file once.
    QTreeWidgetItem* nationalities = topic(contents, "Nationalities and genders");
    QCOMPARE(nationalities->parent(), topic(contents, "Character Name"));
    QStringList listed;
    for (QTreeWidgetItemIterator it(contents); *it; ++it)
        listed << (*it)->data(0, Qt::UserRole).toUrl().path();
    QStringList pages = viewer->file().files().filter(QRegularExpression("\\.html$"));
    listed.sort();
    QCOMPARE(listed, pages);

    // An internal link, with its pictures served from inside the file.
    QVERIFY(clickLink(browser, "quick-start.html"));
    QCOMPARE(browser->source(), HelpUrl("/quick-start.html"));
    QCOMPARE(contents->currentItem(), topic(contents, "Quick start"));
    const auto picture = qvariant_cast<QImage>(
        browser->document()->resource(QTextDocument::ImageResource, QUrl("images/mode2.gif")));
    QCOMPARE(picture.size(), QSize(24, 24));

    // Back and Forward.
    QVERIFY(viewer->backAction()->isEnabled() && !viewer->forwardAction()->isEnabled());
    viewer->backAction()->trigger();
    QCOMPARE(browser->source(), HelpUrl("/index.html"));
    QVERIFY(viewer->forwardAction()->isEnabled());
    viewer->forwardAction()->trigger();
    QCOMPARE(browser->source(), HelpUrl("/quick-start.html"));

    // A click in the contents pane.
    QTreeWidgetItem* format = topic(contents, "Word-list format");
    contents->scrollToItem(format);
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                      contents->visualItemRect(format).center());
    QCOMPARE(browser->source(), HelpUrl("/wordlist-format.html"));

    // Links that leave the file go to the desktop, not into the viewer.
    {
        OpenerSpy spy;
        QVERIFY(clickLink(browser, "https://en.wikipedia.org/wiki/UTF-8"));
        emit browser->anchorClicked(QUrl("mailto:author@example.org"));
        QCOMPARE(spy.opened, QList<QUrl>({QUrl("https://en.wikipedia.org/wiki/UTF-8"),
                                          QUrl("mailto:author@example.org")}));
        QCOMPARE(browser->source(), HelpUrl("/wordlist-format.html"));
    }

    // Asking again: the same window, back at the default topic.
    QCOMPARE(HtmlHelp(&owner, shippedHelp().toLocal8Bit(), HH_DISPLAY_TOPIC, 0), window);
    QCOMPARE(browser->source(), HelpUrl("/index.html"));
    QVERIFY(!viewer->backAction()->isEnabled());
    QCOMPARE(owner.findChildren<HelpViewer*>().size(), 1);
    // Requests the viewer does not know change nothing.
    QCOMPARE(HtmlHelp(&owner, shippedHelp().toLocal8Bit(), 1, 0), nullptr);
    QCOMPARE(HtmlHelp(&owner, shippedHelp().toLocal8Bit(), HH_DISPLAY_TOPIC, 1), nullptr);
}

void TestHelp::manualQuotesTheProgram()
{
    ChmFile file;
    QVERIFY(file.open(shippedHelp().toLocal8Bit()));
    auto text = [&](const char* page) {
        QTextDocument document;
        document.setHtml(DecodeHelpText(file.read(page).value_or(QByteArray())));
        return document.toPlainText().replace('\n', ' ');
    };
    auto quoted = [](const char* s) { return '"' + QString::fromUtf8(s) + '"'; };

    const QString modes = text("/modes.html");
    for (const Mode& mode : kModes)
        for (const char* s : {mode.menuCaption, mode.tooltip, mode.title})
            QVERIFY2(modes.contains(quoted(s)), s);
    const QString copying = text("/copying.html");
    QVERIFY(copying.contains('"' + ResultBox::ConfirmationText() + '"'));
    QVERIFY(copying.contains('"' + ResultBox::ConfirmationTitle() + '"'));

    // Every word list the program reads is in the table, written the Linux way.
    const QString lists = text("/wordlists.html");
    const QString names = text("/nationalities.html");
    for (const TwoWordFiles& files : {kTitleFiles, kItemFiles, kEquipmentFiles, kSkillFiles})
        QVERIFY(lists.contains(linuxPath(files.primary)) &&
                lists.contains(linuxPath(files.secondary)));
    for (const Nationality& n : kNationalities) {
        QVERIFY(names.contains(quoted(n.display)));
        for (const char* f : {n.maleFile, n.femaleFile, n.surnameFile})
            QVERIFY2(!f || (lists.contains(linuxPath(f)) && names.contains(linuxPath(f))), f);
    }

    // The NPC table row by row, as the program rolls.
    QTextDocument npc;
    npc.setHtml(DecodeHelpText(file.read("/npc.html").value_or(QByteArray())));
    QTextTable* table = nullptr;
    for (QTextFrame* frame : npc.rootFrame()->childFrames())
        table = table ? table : qobject_cast<QTextTable*>(frame);
    QVERIFY(table);
    QCOMPARE(table->rows(), 1 + int(kStatRows.size()));
    auto cell = [&](int r, int c) {
        return table->cellAt(r, c).firstCursorPosition().block().text();
    };
    for (int d = 0; d < 3; ++d)
        QCOMPARE(cell(0, d + 1), quoted(kDifficulties[d].text));
    for (int r = 0; r < int(kStatRows.size()); ++r) {
        QCOMPARE(cell(r + 1, 0), quoted(kStatRows[r].label));
        for (int d = 0; d < 3; ++d) {
            const StatRange range = kStatRows[r].*kDifficulties[d].range;
            QCOMPARE(cell(r + 1, d + 1),
                     range.ceiling == 0
                         ? QString("always 0")
                         : QString("%1 to %2").arg(range.floor).arg(range.ceiling - 1));
        }
    }
}

void TestHelp::unreadableFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    row("missing", "missing", "there is no such file");
    row("folder", "folder", "it is a folder, not a file");
    row("pipe", "pipe", "it is not a regular file");
    row("text", "text", "it is not a compiled HTML help file");
    row("empty", "empty", "it is not a compiled HTML help file");
    row("header only", "header", "it holds no pages to show");
}

void TestHelp::unreadableFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath("quillmere.chm");
    QFile shipped(shippedHelp());
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    QFile file(path);
    if (kind == "folder")
        QVERIFY(QDir().mkdir(path));
    else if (kind == "pipe")
        QCOMPARE(::mkfifo(path.toLocal8Bit().constData(), 0600), 0);
    else if (kind != "missing")
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write(kind == "text"     ? QByteArray("not a help file\n")
                           : kind == "header" ? shipped.read(3000)
                                              : QByteArray()) >= 0);
    file.close();

    // A window that showed the manual before, as when the file goes missing
    // while the program runs.
    QWidget owner;
    auto* viewer = qobject_cast<HelpViewer*>(HtmlHelp(&owner, shippedHelp().toLocal8Bit(), 0, 0));
    QCOMPARE(HtmlHelp(&owner, path.toLocal8Bit(), 0, 0), viewer);
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(viewer->browser()->toPlainText(),
             QString("Could not open the help file \"%1\" because %2.").arg(path, reason));
    QVERIFY(viewer->contents()->isHidden());
    QVERIFY(!viewer->backAction()->isEnabled());
    // The same window shows a good file when asked next.
    QCOMPARE(HtmlHelp(&owner, shippedHelp().toLocal8Bit(), 0, 0), viewer);
    QCOMPARE(viewer->browser()->documentTitle(), QString("Welcome to Quillmere"));
    QVERIFY(!viewer->contents()->isHidden());
}

void TestHelp::f1AndContentsOpenTheSameWindow()
{
    BuildExeDir exe;
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);
    QTest::keyClick(&form, Qt::Key_F1);
    const QList<HelpViewer*> viewers = form.findChildren<HelpViewer*>();
    QCOMPARE(viewers.size(), 1);
    HelpViewer* viewer = viewers.first();
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->browser()->source(), HelpUrl("/index.html"));

    for (QAction* again : {form.cont, static_cast<QAction*>(nullptr)}) {
        viewer->browser()->setSource(HelpUrl("/npc.html"));
        if (again)
            again->trigger();
        else
            form.HTMLHelpContents();
        QCOMPARE(form.findChildren<HelpViewer*>(), viewers);
        QCOMPARE(viewer->browser()->source(), HelpUrl("/index.html"));
    }
    QCOMPARE(HtmlHelp(&form, form.SetHTMLHelpStrings().toLocal8Bit(), 0, 0), viewer);
    // The main window stays usable beside its help.
    form.Command1->click();
    QVERIFY(!form.Text2->text().trimmed().isEmpty());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
