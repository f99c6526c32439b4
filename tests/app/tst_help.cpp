// "Contents" as the user meets it, with the real viewer program: one viewer
// per main window, brought back by every later request and gone with the
// window; and every help file that is missing, damaged or hostile, and every
// viewer that fails, ends in one sentence naming the file while the main
// window carries on. Every row runs from a folder whose name is not ASCII,
// with the viewer program copied there as an installation has it.
#include "form1.h"
#include "htmlhelp.h"
#include "resultbox.h"
#include "testsupport.h"

#include <QPushButton>
#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace {

const QString kBuildDir = QStringLiteral(QUILLMERE_BUILD_DIR);
const QString kViewer = kBuildDir + "/quillmere-help";

// A folder named as a user in Kraków or Kyōto might name it.
struct InstallDir : QTemporaryDir {
    InstallDir()
        : QTemporaryDir(QDir::tempPath() + QString::fromUtf8("/Quillmere Hilfe ąę 名前 XXXXXX"))
    {
        SetExecutableDirForTesting(path());
    }
    ~InstallDir() { SetExecutableDirForTesting({}); }
    QString help() const { return path() + "/quillmere.chm"; }
};

// What the viewer and the window said after one request: the viewer's
// "showing"/"problem" lines and the window's own messages, with the help
// file's path as %1.
struct Said {
    QStringList lines;
    void listen(HelpViewerLink* link)
    {
        QObject::connect(link, &HelpViewerLink::reported, link, [this](const QString& line) {
            if (!line.startsWith("pong") && !line.startsWith("window") && line != "ready")
                lines << line;
        });
    }
};

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    // As root the test runs as 'nobody', to whom a file can be unreadable.
    void initTestCase()
    {
        const passwd* nobody = ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
        QVERIFY(!nobody || (::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 &&
                            ::setuid(nobody->pw_uid) == 0));
    }
    void badHelpAndViewers_data();
    void badHelpAndViewers();
    void oneViewerPerWindow();
};

void TestHelp::badHelpAndViewers_data()
{
    QTest::addColumn<QString>("file");   // what is put at the help file's path
    QTest::addColumn<QString>("viewer"); // a stand-in for the viewer, as a shell script
    QTest::addColumn<QString>("said");   // lines, split at |; %1: the help file's full path
    const auto row = [](const char* tag, const QString& file, const QString& said,
                        const QString& viewer = {}) {
        QTest::newRow(tag) << file << viewer << said;
    };
    const auto cannot = [](const char* why) {
        return "problem Could not open the help file \"%1\": " + QString(why) + '.';
    };
    const QString samples = QStringLiteral(QUILLMERE_HELP_SAMPLES "/");
    const QString crashed =
        "The help viewer closed unexpectedly while showing \"%1\"; the file may be damaged.";
    const QString hung = "The help viewer stopped answering while showing \"%1\", so Quillmere "
                         "closed it.";
    row("the manual", kBuildDir + "/quillmere.chm", "showing chm:/index.html");
    row("missing", "", cannot("no such file or directory"));
    row("folder", "folder", cannot("it is a folder, not a file"));
    row("named pipe", "fifo", cannot("it is not a regular file"));
    row("/dev/zero", "/dev/zero", cannot("it is not a regular file"));
    row("symlink loop", "loop", cannot("too many levels of symbolic links"));
    row("no read permission", "unreadable", cannot("permission denied"));
    row("empty", "empty", cannot("it is not a compiled HTML help file"));
    row("text", "not help", cannot("it is not a compiled HTML help file"));
    // Cut short after its first page: the rest says it is not in the file.
    row("truncated", samples + "truncated.chm", "showing chm:/index.html");
    row("crashes chmlib", samples + "crashes-chmlib.chm", crashed);
    row("lays out for ever", QUILLMERE_TEST_HELP_DIR "/freeze.chm",
        "showing chm:/index.html|" + hung);
    row("viewer crashes", "", crashed, "kill -SEGV $$");
    row("viewer hangs", "", hung, "echo ready; exec sleep 60");
    row("viewer fails", "", crashed, "echo ready; exit 3");
    row("viewer closed by its user", "", "", "echo ready; exit 0");
    row("no viewer", "",
        "The help viewer \"%2\" could not be started to show \"%1\": "
        "execvp: No such file or directory.",
        "missing");
}

void TestHelp::badHelpAndViewers()
{
    QFETCH(QString, file);
    QFETCH(QString, viewer);
    QFETCH(QString, said);
    ShippedExeDir words;
    Form1 form;
    form.show();
    InstallDir exe;
    const QString path = exe.help();
    const QByteArray path8 = QFile::encodeName(path);
    if (file == "folder")
        QVERIFY(QDir().mkdir(path));
    else if (file == "fifo")
        QCOMPARE(mkfifo(path8.constData(), 0644), 0);
    else if (file == "/dev/zero" || file == "loop")
        QCOMPARE(symlink(file == "loop" ? path8.constData() : "/dev/zero", path8.constData()), 0);
    else if (file.startsWith('/'))
        QVERIFY(QFile::copy(file, path));
    else if (!file.isEmpty()) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file == "empty" ? "" : "Just some text.\n");
        out.close();
        QVERIFY(file != "unreadable" || out.setPermissions(QFile::WriteOwner));
    }
    const QString program = exe.path() + "/quillmere-help";
    if (viewer.isEmpty())
        QVERIFY(QFile::copy(kViewer, program));
    else if (viewer != "missing") {
        QFile out(program);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write("#!/bin/sh\n" + viewer.toUtf8()) > 0);
        out.close();
        QVERIFY(out.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    }
    const QStringList before = FolderSignature(exe.path());

    ProblemCatcher caught;
    Said viewerSaid;
    QElapsedTimer clock;
    clock.start();
    form.HTMLHelpContents();
    QVERIFY(clock.elapsed() < 500); // it returns at once
    auto* link = form.findChild<HelpViewerLink*>();
    QVERIFY(link);
    viewerSaid.listen(link);
    // The main window answers while the viewer reads, fails or hangs.
    const QStringList expected =
        said.isEmpty() ? QStringList()
                       : QString(said).replace("%1", path).replace("%2", program).split('|');
    auto heard = [&] { return viewerSaid.lines + caught.messages; };
    QTRY_VERIFY_WITH_TIMEOUT(!heard().isEmpty() || !link->isRunning(), 5000);
    form.Command1->click();
    QVERIFY(!form.Text2->text().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(
        heard().size() >= expected.size() && (!expected.isEmpty() || !link->isRunning()), 5000);
    QCOMPARE(heard(), expected);
    QVERIFY(form.isVisible());
    QCOMPARE(FolderSignature(exe.path()), before);
}

void TestHelp::oneViewerPerWindow()
{
    ShippedExeDir words;
    auto form = std::make_unique<Form1>();
    form->show();
    InstallDir exe;
    QVERIFY(QFile::copy(kViewer, exe.path() + "/quillmere-help"));
    QVERIFY(QFile::copy(kBuildDir + "/quillmere.chm", exe.help()));
    ProblemCatcher caught;
    Said said;
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_F1);
    auto* link = form->findChild<HelpViewerLink*>();
    QVERIFY(link);
    said.listen(link);
    QTRY_COMPARE(said.lines, QStringList{"showing chm:/index.html"});
    const qint64 pid = link->processId();

    // "Contents" again shows the first page in the same viewer; a viewer that
    // answers is left alone however long it stays open.
    form->cont->trigger();
    QTRY_COMPARE(said.lines.size(), 2);
    QCOMPARE(said.lines.last(), QString("showing chm:/index.html"));
    QTest::qWait(2600);
    QCOMPARE(form->findChildren<HelpViewerLink*>(), QList<HelpViewerLink*>{link});
    QVERIFY(link->isRunning() && link->processId() == pid);

    // Closing the main window takes the viewer with it, without a word; the
    // next request starts a new one, which goes when the window goes.
    form->close();
    QTRY_VERIFY_WITH_TIMEOUT(!link->isRunning(), 2000);
    form->show();
    form->HTMLHelpContents();
    QTRY_VERIFY(link->isRunning());
    const qint64 second = link->processId();
    QVERIFY(second != pid);
    form.reset();
    QCOMPARE(::kill(pid_t(second), 0), -1);
    QCOMPARE(caught.messages, QStringList());

    // A viewer whose program has gone, a killed Quillmere for instance, sees
    // its input end and goes too.
    QProcess viewer;
    viewer.start(kViewer, {exe.help()});
    QVERIFY(viewer.waitForReadyRead(5000));
    QCOMPARE(viewer.readLine(), QByteArray("ready\n"));
    viewer.closeWriteChannel();
    QVERIFY(viewer.waitForFinished(2000));
    QCOMPARE(viewer.exitCode(), 0);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
