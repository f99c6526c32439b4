// "Contents" as the user meets it, with the real viewer program: one viewer
// per main window, brought back by every later request and gone with the
// window; and every help file that is missing, damaged or hostile, and every
// viewer that fails, ends in one sentence naming the file while the main
// window carries on. Every row runs from a folder whose name is not ASCII,
// with the viewer program copied there as an installation has it. And things
// that are not word lists where the lists should be: each is told once by its
// full path and reason, and Generate uses what could be read.
#include "form1.h"
#include "htmlhelp.h"
#include "resultbox.h"
#include "testsupport.h"

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
    return sh.waitForFinished() ? sh.readAll() : QByteArray();
}

// Everything in the folder as it stands, so a test can tell that nothing was written.
QString signature(const QString& dir)
{
    return shell(dir, "find . -printf '%p %y %m %s %T@ %l\\n' -type f -exec md5sum {} + | sort");
}

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
                       "cp -R \"$B/quillmere-help\" \"$B/quillmere.chm\" \"$T\" \"$S\" \"$D\" . && "
                       "chown -R nobody . && chmod -R a+rX . || echo no"),
                 "");
        gFrom =
            QString("B='%1' T='%1/test-help' S='%1/helpfiles' D='%1/data'; ").arg(m_copy.path());
        QVERIFY(::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 &&
                ::setuid(nobody->pw_uid) == 0);
    }

    void badHelpAndViewers_data()
    {
        // What is put in the program's folder beside the viewer, and every line then
        // heard from the viewer or the window, split at |, with @ for the program's folder.
        QTest::addColumn<QString>("plant");
        QTest::addColumn<QString>("said");
        const QString fake = "printf '#!/bin/sh\\n%s\\n' '%1' > quillmere-help";
        const QString cannot = "problem Could not open the help file \"@/quillmere.chm\": ";
        const QString crashed = "The help viewer closed unexpectedly while showing "
                                "\"@/quillmere.chm\"; the file may be damaged.";
        const QString hung = "The help viewer stopped answering while showing \"@/quillmere.chm\", "
                             "so Quillmere closed it.";
        const auto row = [](const char* tag, const QString& plant, const QString& said) {
            QTest::newRow(tag) << plant << said;
        };
        row("the manual", "cp \"$B/quillmere.chm\" .", "showing chm:/index.html");
        row("missing", "", cannot + "no such file or directory.");
        row("folder", "mkdir quillmere.chm", cannot + "it is a folder, not a file.");
        row("named pipe", "mkfifo quillmere.chm", cannot + "it is not a regular file.");
        row("/dev/zero", "ln -s /dev/zero quillmere.chm", cannot + "it is not a regular file.");
        row("symlink loop", "ln -s quillmere.chm quillmere.chm",
            cannot + "too many levels of symbolic links.");
        row("no read permission", "echo help > quillmere.chm; chmod 200 quillmere.chm",
            cannot + "permission denied.");
        row("empty", ": > quillmere.chm", cannot + "it is not a compiled HTML help file.");
        row("text", "echo help > quillmere.chm", cannot + "it is not a compiled HTML help file.");
        // Cut short after its first page: the rest says it is not in the file.
        row("truncated", "cp \"$S/truncated.chm\" quillmere.chm", "showing chm:/index.html");
        row("crashes chmlib", "cp \"$S/crashes-chmlib.chm\" quillmere.chm", crashed);
        row("lays out for ever", "cp \"$T/freeze.chm\" quillmere.chm",
            "showing chm:/index.html|" + hung);
        row("viewer crashes", fake.arg("kill -SEGV $$"), crashed);
        row("viewer hangs", fake.arg("echo ready; exec sleep 60"), hung);
        row("viewer fails", fake.arg("echo ready; exit 3"), crashed);
        row("viewer closed by its user", fake.arg("echo ready"), "");
        row("no viewer", "rm quillmere-help",
            "The help viewer \"@/quillmere-help\" could not be started to show "
            "\"@/quillmere.chm\": execvp: No such file or directory.");
    }

    void badHelpAndViewers()
    {
        QFETCH(QString, plant);
        QFETCH(QString, said);
        TempExeDir exe(u"Hilfe ąę 名前"_qs);
        shell(exe.path(), "ln -s \"$D\" data; cp \"$B/quillmere-help\" .; " + plant);
        const QString before = signature(exe.path());
        QStringList heard; // what the viewer reports that a reader sees or is told
        Form1 form;
        form.show();
        // Start-up made the program's folder the working one; help must not rely on that.
        QDir::setCurrent(QDir::tempPath());
        ProblemCatcher caught;
        form.HTMLHelpContents();
        auto* link = form.findChild<HelpViewerLink*>();
        connect(link, &HelpViewerLink::reported, link, [&heard](const QString& line) {
            if (line.startsWith("showing") || line.startsWith("problem"))
                heard << line;
        });
        // Nothing is waited for: the viewer has not been heard yet, and the main
        // window answers while the viewer reads, fails or hangs.
        form.Command1->click();
        QVERIFY(heard.isEmpty() && !form.Text2->text().isEmpty());
        const QStringList expected = said.replace("@", exe.path()).split('|', Qt::SkipEmptyParts);
        QTRY_VERIFY_WITH_TIMEOUT(!expected.isEmpty() || !link->isRunning(), 8000);
        QTRY_VERIFY_WITH_TIMEOUT(heard.size() + caught.messages.size() >= expected.size(), 8000);
        QCOMPARE(heard + caught.messages, expected);
        QVERIFY(form.isVisible());
        QCOMPARE(signature(exe.path()), before);
        // A viewer that answers is left alone however long it stays open, and
        // "Contents" again shows the first page in it. Closing the main window
        // ends it without a word; the next request starts another.
        if (expected == QStringList{"showing chm:/index.html"}) {
            const qint64 viewer = link->processId();
            QTest::qWait(2600);
            form.cont->trigger();
            QTRY_COMPARE(heard, expected + expected);
            QVERIFY(link->isRunning() && link->processId() == viewer);
            form.close();
            QTRY_VERIFY_WITH_TIMEOUT(!link->isRunning(), 2000);
            form.show();
            form.HTMLHelpContents();
            QVERIFY(link->isRunning() && link->processId() != viewer);
            QCOMPARE(caught.messages, QStringList());
        }
    }

    void badWordLists()
    {
        // A read that waits on a pipe would hang the test: the alarm fails it instead.
        std::signal(SIGALRM, [](int) { qFatal("a read waited on a pipe"); });
        ::alarm(30);
        TempExeDir exe;
        const auto at = [&](const char* name) {
            return exe.full(QString("\\data\\%1.quillmere").arg(name));
        };
        exe.write("\\data\\skills-objects.quillmere", QStringList{"Kingdom"});
        exe.write("\\data\\skills-des-ect.quillmere", QStringList{"Alpha"});
        exe.write("\\data\\items-des-ect.quillmere", QStringList{"Alpha"});
        QVERIFY(::mkfifo(QFile::encodeName(at("adjectives-ect")), 0644) == 0 &&
                QFile::link("/dev/zero", at("nouns-ect")) &&
                QFile::setPermissions(at("items-des-ect"), {}) &&
                QFile::link(at("items-objects"), at("items-objects")));
        const QString data = signature(exe.full("\\data"));
        const QString told = "Quillmere could not read these word lists:\n\n%1: %2\n%3: %4";
        ProblemCatcher catcher;
        Form1 form;
        QApplication::processEvents();
        form.Command1->click();
        QCOMPARE(form.Text2->text(), " ");
        form.in->trigger();
        ::alarm(0);
        form.sn->trigger();
        form.Command1->click();
        QCOMPARE(form.Text2->text(), "Alpha Kingdom");
        QCOMPARE(catcher.messages,
                 QStringList({told.arg(at("adjectives-ect"), "it is not a regular file",
                                       at("nouns-ect"), "it is not a regular file"),
                              told.arg(at("items-des-ect"), "Permission denied",
                                       at("items-objects"), "Too many levels of symbolic links")}));
        QCOMPARE(signature(exe.full("\\data")), data);
    }

private:
    QTemporaryDir m_copy;
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
