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

// Where the rows copy the viewer and help files from: the build's own, or a
// copy that 'nobody' can read when the build sits in a private folder.
QString gFrom = "B='" QUILLMERE_BUILD_DIR "' T='" QUILLMERE_TEST_HELP_DIR
                "' S='" QUILLMERE_HELP_SAMPLES "' D='" QUILLMERE_SOURCE_DIR "/data'; ";

// Runs `script` in `dir` with the build, the test help files and the damaged
// samples at hand as $B, $T and $S, and the shipped lists as $D; its output.
QString shell(const QString& dir, const QString& script)
{
    QProcess sh;
    sh.setWorkingDirectory(dir);
    sh.start("sh", {"-c", gFrom + script});
    sh.waitForFinished();
    return sh.readAll();
}

// Everything in the folder, so a test can tell that nothing was written.
QString signature(const QString& dir)
{
    return shell(dir, "find . -printf '%p %y %m %s %T@ %l\\n' | sort; find . -type f -exec "
                      "md5sum {} + 2>&1 | sort");
}

// A folder named as a user in Kraków or Kyōto might name it, in place of
// the program's own.
struct InstallDir : QTemporaryDir {
    InstallDir() : QTemporaryDir(QDir::tempPath() + QString::fromUtf8("/Hilfe ąę 名前 XXXXXX"))
    {
        SetExecutableDirForTesting(path());
    }
    ~InstallDir() { SetExecutableDirForTesting({}); }
};

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    // As root the test runs as 'nobody', to whom a file can be unreadable.
    void initTestCase()
    {
        const passwd* nobody = ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
        if (!nobody)
            return;
        QVERIFY(m_copy.isValid());
        QCOMPARE(shell(m_copy.path(),
                       "cp -R \"$B/quillmere-help\" \"$B/quillmere.chm\" \"$T\" "
                       "\"$S\" \"$D\" . && chown -R nobody . && chmod -R a+rX . || echo no"),
                 "");
        gFrom =
            QString("B='%1' T='%1/test-help' S='%1/helpfiles' D='%1/data'; ").arg(m_copy.path());
        QVERIFY(::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 &&
                ::setuid(nobody->pw_uid) == 0);
    }
    void badHelpAndViewers_data();
    void badHelpAndViewers();
    void oneViewerPerWindow();

private:
    QTemporaryDir m_copy;
};

void TestHelp::badHelpAndViewers_data()
{
    // What is put in the program's folder, and every line then heard from the
    // viewer or the window, split at |, with %1 for the help file's path.
    QTest::addColumn<QString>("plant");
    QTest::addColumn<QString>("said");
    const QString viewer = "cp \"$B/quillmere-help\" .; ";
    const QString fake = "printf '#!/bin/sh\\n%s\\n' '%1' > quillmere-help; chmod 500 "
                         "quillmere-help; ";
    const auto cannot = [](const char* why) {
        return "problem Could not open the help file \"%1\": " + QString(why) + '.';
    };
    const QString crashed =
        "The help viewer closed unexpectedly while showing \"%1\"; the file may be damaged.";
    const QString hung = "The help viewer stopped answering while showing \"%1\", so Quillmere "
                         "closed it.";
    auto row = [](const char* tag, const QString& plant, const QString& said) {
        QTest::newRow(tag) << plant << said;
    };
    row("the manual", viewer + "cp \"$B/quillmere.chm\" .", "showing chm:/index.html");
    row("missing", viewer, cannot("no such file or directory"));
    row("folder", viewer + "mkdir quillmere.chm", cannot("it is a folder, not a file"));
    row("named pipe", viewer + "mkfifo quillmere.chm", cannot("it is not a regular file"));
    row("/dev/zero", viewer + "ln -s /dev/zero quillmere.chm", cannot("it is not a regular file"));
    row("symlink loop", viewer + "ln -s quillmere.chm quillmere.chm",
        cannot("too many levels of symbolic links"));
    row("no read permission", viewer + "echo help > quillmere.chm; chmod 200 quillmere.chm",
        cannot("permission denied"));
    row("empty", viewer + ": > quillmere.chm", cannot("it is not a compiled HTML help file"));
    row("text", viewer + "echo help > quillmere.chm",
        cannot("it is not a compiled HTML help file"));
    // Cut short after its first page: the rest says it is not in the file.
    row("truncated", viewer + "cp \"$S/truncated.chm\" quillmere.chm", "showing chm:/index.html");
    row("crashes chmlib", viewer + "cp \"$S/crashes-chmlib.chm\" quillmere.chm", crashed);
    row("lays out for ever", viewer + "cp \"$T/freeze.chm\" quillmere.chm",
        "showing chm:/index.html|" + hung);
    row("viewer crashes", fake.arg("kill -SEGV $$"), crashed);
    row("viewer hangs", fake.arg("echo ready; exec sleep 60"), hung);
    row("viewer fails", fake.arg("echo ready; exit 3"), crashed);
    row("viewer closed by its user", fake.arg("echo ready"), "");
    row("no viewer", "",
        "The help viewer \"%2\" could not be started to show \"%1\": execvp: No "
        "such file or directory.");
}

void TestHelp::badHelpAndViewers()
{
    QFETCH(QString, plant);
    QFETCH(QString, said);
    TempExeDir words;
    shell(words.path(), "ln -s \"$D\" data");
    Form1 form;
    form.show();
    InstallDir exe;
    shell(exe.path(), plant);
    const QString before = signature(exe.path());
    QStringList heard;
    ProblemCatcher caught;
    form.HTMLHelpContents();
    auto* link = form.findChild<HelpViewerLink*>();
    QVERIFY(link);
    connect(link, &HelpViewerLink::reported, link, [&](const QString& line) {
        if (line.startsWith("showing") || line.startsWith("problem"))
            heard << line;
    });
    // Nothing is waited for: the viewer has not been heard yet, and the main
    // window answers while the viewer reads, fails or hangs.
    QVERIFY(heard.isEmpty());
    form.Command1->click();
    QVERIFY(!form.Text2->text().isEmpty());
    const QStringList expected = said.isEmpty() ? QStringList()
                                                : QString(said)
                                                      .replace("%1", exe.path() + "/quillmere.chm")
                                                      .replace("%2", exe.path() + "/quillmere-help")
                                                      .split('|');
    QTRY_VERIFY_WITH_TIMEOUT(heard.size() + caught.messages.size() >= expected.size() &&
                                 (!expected.isEmpty() || !link->isRunning()),
                             8000);
    QCOMPARE(heard + caught.messages, expected);
    QVERIFY(form.isVisible());
    QCOMPARE(signature(exe.path()), before);
}

void TestHelp::oneViewerPerWindow()
{
    TempExeDir words;
    shell(words.path(), "ln -s \"$D\" data");
    auto form = std::make_unique<Form1>();
    form->show();
    InstallDir exe;
    shell(exe.path(), "cp \"$B/quillmere-help\" \"$B/quillmere.chm\" .");
    ProblemCatcher caught;
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_F1);
    auto* link = form->findChild<HelpViewerLink*>();
    QVERIFY(link);
    QStringList heard;
    connect(link, &HelpViewerLink::reported, link, [&](const QString& line) {
        if (line.startsWith("showing"))
            heard << line;
    });
    QTRY_COMPARE(heard, QStringList{"showing chm:/index.html"});
    const qint64 pid = link->processId();

    // "Contents" again shows the first page in the same viewer; a viewer that
    // answers is left alone however long it stays open.
    form->cont->trigger();
    QTRY_COMPARE(heard.size(), 2);
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

    // A viewer whose Quillmere has gone, killed for instance, sees its input
    // end and goes too.
    QProcess viewer;
    viewer.start(exe.path() + "/quillmere-help", {exe.path() + "/quillmere.chm"});
    QVERIFY(viewer.waitForReadyRead(5000));
    QCOMPARE(viewer.readLine(), QByteArray("ready\n"));
    viewer.closeWriteChannel();
    QVERIFY(viewer.waitForFinished(2000));
    QCOMPARE(viewer.exitCode(), 0);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
