// Things that are not word lists where the lists should be. Each mode's command returns and the
// window goes on answering; one message names each such file's full path and the reason; the
// lists hold what could be read, and Generate uses it; nothing under data/ changes. How bytes
// become entries is the reader test's business, how long all this takes the benchmark's.
#include "form1.h"
#include "resultbox.h"
#include "testsupport.h"
#include "wordlist.h"

#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <thread>
#include <unistd.h>

class TestBadFiles : public QObject {
    Q_OBJECT
private slots:
    void specialFiles()
    {
        // As root, which reads every file whatever its mode, the test runs as 'nobody'. A read
        // that waits on a pipe would hang it: the alarm fails it instead.
        const passwd* nobody = ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
        QVERIFY(!nobody || (::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 &&
                            ::setuid(nobody->pw_uid) == 0));
        std::signal(SIGALRM, [](int) { qFatal("a read waited on a pipe"); });
        ::alarm(30);
        TempExeDir exe;
        const auto at = [&](const char* name) {
            return exe.full(QString("\\data\\%1.quillmere").arg(name));
        };
        exe.write("\\data\\skills-objects.quillmere", QStringList{"Kingdom"});
        exe.write("\\data\\skills-des-ect.quillmere.file", QStringList{"Alpha"});
        exe.write("\\data\\items-des-ect.quillmere", QStringList{"Alpha"});
        const QByteArray skills = QFile::encodeName(at("skills-des-ect"));
        QVERIFY(::mkfifo(QFile::encodeName(at("adjectives-ect")), 0644) == 0 &&
                ::mkfifo(skills + ".fifo", 0644) == 0 && ::link(skills + ".file", skills) == 0 &&
                QFile::link("/dev/zero", at("nouns-ect")) &&
                QFile::setPermissions(at("items-des-ect"), {}) &&
                QFile::link(at("items-objects"), at("items-objects")));
        const QStringList data = FolderSignature(exe.full("\\data"));
        const QString told = "Quillmere could not read these word lists:\n\n%1: %2\n%3: %4";
        ProblemCatcher catcher;
        Form1 form;
        QApplication::processEvents();
        QCOMPARE(catcher.messages,
                 QStringList{told.arg(at("adjectives-ect"), "it is not a regular file",
                                      at("nouns-ect"), "it is not a regular file")});
        form.Command1->click();
        QCOMPARE(form.Text2->text(), " ");
        form.in->trigger();
        QCOMPARE(catcher.messages.last(),
                 told.arg(at("items-des-ect"), "Permission denied", at("items-objects"),
                          "Too many levels of symbolic links"));
        QCOMPARE(form.prim_words->words().count() + form.second_words->words().count(), 0);

        // The file and a pipe take turns at the path as fast as the system renames, while
        // Skill Name reads it a hundred times at least and on until both were seen. Hard links
        // keep the file as it was; rename() leaves both names when they are links of one file,
        // hence the unlink.
        std::jthread swapper([skills](std::stop_token stop) {
            for (bool pipe = true; !stop.stop_requested() || !pipe; pipe = !pipe) {
                if (::link(skills + (pipe ? ".fifo" : ".file"), skills + ".new") == 0)
                    ::rename(skills + ".new", skills);
                ::unlink(skills + ".new");
            }
        });
        QSet<QString> seen;
        const QDeadlineTimer patience(5000);
        for (int load = 0; load < 100 || (seen.size() < 2 && !patience.hasExpired()); ++load) {
            catcher.messages.clear();
            form.sn->trigger();
            seen << catcher.messages.join("") + "|" + form.prim_words->words().entries().join('|');
        }
        swapper = std::jthread(); // stops it with the file back for good
        QCOMPARE(seen, (QSet<QString>{"|Alpha", "Quillmere could not read this word list:\n\n" +
                                                    at("skills-des-ect") +
                                                    ": it is not a regular file|"}));
        ::alarm(0);
        bool turned = false;
        QTimer::singleShot(0, &form, [&] { turned = true; });
        QTRY_VERIFY(turned);
        form.sn->trigger();
        form.Command1->click();
        QCOMPARE(form.Text2->text(), "Alpha Kingdom");
        QCOMPARE(FolderSignature(exe.full("\\data")), data);
    }
};

QTEST_MAIN(TestBadFiles)
#include "tst_badfiles.moc"
