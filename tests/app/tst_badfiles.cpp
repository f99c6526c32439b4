// The catalogue of hostile files: each row puts one in place of a file the
// program reads and runs the command that reads it. For every row the
// command returns in time and the event loop still turns, exactly one
// message names the file's full path and the reason (none where the file is
// only odd, not bad), what was read is what the file holds, Generate, copy
// and scrolling stay quick afterwards, and nothing under data/ changes.
#include "form1.h"
#include "resultbox.h"
#include "testsupport.h"
#include "wordlist.h"

#include <QAction>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <atomic>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <thread>
#include <unistd.h>

namespace {

enum class Hostile {
    Missing,
    Empty,
    Folder,
    Fifo,
    FifoSwappedIn,
    DevZero,
    SymlinkLoop,
    Unreadable,
    Sparse1GB,
    Lines200MB,
    Line50MB,
    LongestLineKept,
    NulBytes,
    Utf16WithBom,
    MixedUtf8AndCp1252,
};

// Far above what a load and a later command take (a tenth and a twentieth
// of a second at most in a Release build, about as much again under the
// sanitizers) and far below a frozen window: the margin is for a busy machine.
constexpr qint64 kLoadLimitMs = 1000;
constexpr qint64 kLaterActionLimitMs = 500;

QByteArray nativeName(const QString& path)
{
    return QFile::encodeName(path);
}

// Puts the hostile thing at `path`, where a good file stood.
void plant(Hostile hostile, const QString& path)
{
    const QByteArray name = nativeName(path);
    QFile::remove(path);
    QFile file(path);
    const auto write = [&](const QByteArray& bytes) {
        if (!file.isOpen() && !file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", name.constData());
        file.write(bytes);
    };
    switch (hostile) {
    case Hostile::Missing:
        break;
    case Hostile::Empty:
        write({});
        break;
    case Hostile::Folder:
        QDir().mkpath(path);
        break;
    case Hostile::Fifo:
        ::mkfifo(name.constData(), 0644);
        break;
    case Hostile::FifoSwappedIn:
        // The file and the pipe that take turns at `path`; it starts as the file.
        QFile::remove(path + ".file");
        QFile::remove(path + ".fifo");
        write("Alpha\r\n");
        file.close();
        QFile::rename(path, path + ".file");
        ::mkfifo(nativeName(path + ".fifo").constData(), 0644);
        ::link(nativeName(path + ".file").constData(), name.constData());
        break;
    case Hostile::DevZero:
        ::symlink("/dev/zero", name.constData());
        break;
    case Hostile::SymlinkLoop:
        ::symlink(name.constData(), name.constData());
        break;
    case Hostile::Unreadable:
        write("Alpha\r\n");
        file.setPermissions({});
        break;
    case Hostile::Sparse1GB:
        write({});
        file.resize(qint64(1) << 30);
        break;
    case Hostile::Lines200MB: {
        QByteArray block;
        while (block.size() < (1 << 20))
            block += "Wandering Lantern\r\n";
        for (int i = 0; i < 200; ++i)
            write(block);
        break;
    }
    case Hostile::Line50MB:
        write(QByteArray(50'000'000, 'x') + "\r\n");
        break;
    case Hostile::LongestLineKept:
        write(QByteArray((4 << 20) - 2, 'x') + "\r\n");
        break;
    case Hostile::NulBytes:
        write(QByteArray("a\0b\r\n\0\0\0\r\n", 10));
        break;
    case Hostile::Utf16WithBom:
        write(QByteArray("\xFF\xFE") +
              QByteArray(reinterpret_cast<const char*>(u"Alpha\r\nŌkami\r\n"), 14 * 2));
        break;
    case Hostile::MixedUtf8AndCp1252:
        write("\xC5\x8Ckami\r\nSe\xE1n\r\n");
        break;
    }
}

// Runs `action` and returns how long it took, in milliseconds.
template <typename F> qint64 timed(F&& action)
{
    QElapsedTimer clock;
    clock.start();
    action();
    return clock.elapsed();
}

// Opens the pipes for writing if the window goes `limitMs` without progress:
// a read that waits on a pipe then ends, and the test fails instead of hanging.
class PipeWatchdog {
public:
    PipeWatchdog(QList<QByteArray> pipes, qint64 limitMs)
        : m_pipes(std::move(pipes)), m_limitMs(limitMs), m_thread([this] { watch(); })
    {
    }
    ~PipeWatchdog()
    {
        m_stop = true;
        m_thread.join();
    }
    void progress() { m_last = QDateTime::currentMSecsSinceEpoch(); }
    bool fired() const { return m_fired; }

private:
    void watch()
    {
        while (!m_stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (QDateTime::currentMSecsSinceEpoch() - m_last <= m_limitMs)
                continue;
            m_fired = true;
            for (const QByteArray& pipe : m_pipes)
                if (const int fd = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK); fd >= 0)
                    ::close(fd);
        }
    }

    const QList<QByteArray> m_pipes;
    const qint64 m_limitMs;
    std::atomic<bool> m_stop = false;
    std::atomic<bool> m_fired = false;
    std::atomic<qint64> m_last = QDateTime::currentMSecsSinceEpoch();
    std::thread m_thread;
};

} // namespace

Q_DECLARE_METATYPE(Hostile)

class TestBadFiles : public QObject {
    Q_OBJECT
private slots:
    void catalogue_data();
    void catalogue();

private:
    void swapFileAndPipeWhileLoading(Form1& form, const QString& path, QAction* action,
                                     const ProblemCatcher& catcher);
};

void TestBadFiles::catalogue_data()
{
    QTest::addColumn<QString>("replaced"); // the file the hostile one stands in for
    QTest::addColumn<QString>("action");   // the menu item whose command reads it
    QTest::addColumn<Hostile>("hostile");
    QTest::addColumn<QString>("reason"); // empty: no message
    QTest::addColumn<int>("count");      // entries the list ends with
    QTest::addColumn<QStringList>("entries");

    const QString adjectives = "\\data\\adjectives-ect.quillmere";
    const QString tooBig = "the file is larger than 4 MiB; only its first lines were read";
    const QString notRegular = "it is not a regular file";
    const auto row = [&](const char* name, Hostile h, const QString& reason, int count,
                         const QStringList& entries = {}) {
        QTest::newRow(name) << adjectives << "gt" << h << reason << count << entries;
    };
    row("missing", Hostile::Missing, "No such file or directory", 0);
    row("empty", Hostile::Empty, "", 0);
    row("a folder", Hostile::Folder, "it is a folder, not a file", 0);
    row("a fifo", Hostile::Fifo, notRegular, 0);
    row("a fifo swapped in after the check", Hostile::FifoSwappedIn, notRegular, 1, {"Alpha"});
    row("/dev/zero", Hostile::DevZero, notRegular, 0);
    row("a symlink loop", Hostile::SymlinkLoop, "Too many levels of symbolic links", 0);
    row("no read permission", Hostile::Unreadable, "Permission denied", 0);
    row("1 GB sparse", Hostile::Sparse1GB, tooBig, 0);
    row("200 MB of lines", Hostile::Lines200MB,
        "a list holds at most 32767 entries; the lines beyond were not added", 32767,
        {"Wandering Lantern", "Wandering Lantern"});
    row("a 50 MB line", Hostile::Line50MB, tooBig, 0);
    row("the longest line kept", Hostile::LongestLineKept, "", 1, {QString((4 << 20) - 2, 'x')});
    row("nul bytes", Hostile::NulBytes, "", 2,
        {QString("a") + QChar(0) + "b", QString(3, QChar(0))});
    row("utf-16 with bom", Hostile::Utf16WithBom, "", 2, {"Alpha", u"Ōkami"_qs});
    row("mixed utf-8 and windows-1252", Hostile::MixedUtf8AndCp1252, "", 2,
        {u"Ōkami"_qs, u"Seán"_qs});
}

void TestBadFiles::catalogue()
{
    QFETCH(QString, replaced);
    QFETCH(QString, action);
    QFETCH(Hostile, hostile);
    QFETCH(QString, reason);
    QFETCH(int, count);
    QFETCH(QStringList, entries);

    if (hostile == Hostile::Unreadable && ::geteuid() == 0) {
        // Root reads every file whatever its mode: the row runs again in a
        // copy of this test as a user the mode applies to.
        if (!::getpwnam("nobody"))
            QSKIP("running as root and there is no user 'nobody' to read as");
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUILLMERE_TEST_AS_USER", "nobody");
        env.remove("XDG_RUNTIME_DIR");
        env.insert("TMPDIR", QDir::tempPath());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("catalogue:") + QTest::currentDataTag()});
        QVERIFY(child.waitForFinished(60000));
        const QString output = QString::fromLocal8Bit(child.readAll());
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                     output.contains("PASS   : TestBadFiles::catalogue(no read permission)"),
                 qPrintable(output));
        return;
    }

    TempExeDir exe;
    exe.write("\\data\\adjectives-ect.quillmere", QStringList{"Shattered", "Silent"});
    exe.write("\\data\\nouns-ect.quillmere", QStringList{"Kingdom", "Saga"});
    ProblemCatcher catcher;
    ResultBox::SetConfirm([](QWidget*) { return true; });
    const auto restoreConfirm = qScopeGuard([] { ResultBox::SetConfirm({}); });
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(catcher.messages, QStringList());

    const QString path = exe.full(replaced);
    plant(hostile, path);
    const QStringList data = FolderSignature(exe.full("\\data"));
    auto* command = form.findChild<QAction*>(action);
    QVERIFY(command);

    if (hostile == Hostile::FifoSwappedIn) {
        swapFileAndPipeWhileLoading(form, path, command, catcher);
        if (QTest::currentTestFailed())
            return;
    } else {
        PipeWatchdog watchdog({nativeName(path)}, 5000);
        const qint64 ms = timed([&] { command->trigger(); });
        QVERIFY2(!watchdog.fired(), "the command waited on a pipe");
        QVERIFY2(ms < kLoadLimitMs, qPrintable(QString("the command took %1 ms").arg(ms)));
        QCOMPARE(catcher.messages.size(), reason.isEmpty() ? 0 : 1);
        if (!reason.isEmpty())
            QCOMPARE(catcher.messages.first().section('\n', 2), path + ": " + reason);
    }
    bool turned = false;
    QTimer::singleShot(0, &form, [&] { turned = true; });
    QTRY_VERIFY_WITH_TIMEOUT(turned, 1000);
    const WordListModel& list = form.prim_words->words();
    QCOMPARE(list.count(), count);
    QCOMPARE(list.entries().mid(0, entries.size()), entries);

    // What was kept, however long, costs little to use.
    const auto quick = [&](const char* what, const std::function<void()>& later) {
        const qint64 ms = timed([&] {
            later();
            form.repaint();
        });
        return ms < kLaterActionLimitMs ? QString() : QString("%1 took %2 ms").arg(what).arg(ms);
    };
    for (const QString& slow :
         {quick("Generate", [&] { form.Command1->click(); }),
          quick("copy", [&] { form.Text2->CopyWithConfirmation(); }), quick("scrolling", [&] {
              form.prim_words->scrollToBottom();
              form.prim_words->repaint();
              form.prim_words->scrollToTop();
          })})
        QVERIFY2(slow.isEmpty(), qPrintable(slow));
    QCOMPARE(FolderSignature(exe.full("\\data")), data);
}

// A file and a named pipe take turns at `path` as fast as the system renames,
// while the command reads it over and over: every read returns, finding
// either the file's entry or a pipe it refuses. A watchdog opens the pipe for
// writing if a read ever waits on it, so a failure ends instead of hanging.
void TestBadFiles::swapFileAndPipeWhileLoading(Form1& form, const QString& path, QAction* action,
                                               const ProblemCatcher& catcher)
{
    const QByteArray target = nativeName(path);
    const QByteArray fileSide = nativeName(path + ".file");
    const QByteArray pipeSide = nativeName(path + ".fifo");
    const QByteArray staging = nativeName(path + ".new");
    std::atomic<bool> stop = false;
    // rename() leaves both names when they are links of one file, hence the unlink.
    const auto put = [&](const QByteArray& side) {
        ::link(side.constData(), staging.constData());
        ::rename(staging.constData(), target.constData());
        ::unlink(staging.constData());
    };
    std::thread swapper([&] {
        for (bool pipe = true; !stop; pipe = !pipe)
            put(pipe ? pipeSide : fileSide);
        put(fileSide);
    });
    auto joinSwapper = qScopeGuard([&] {
        stop = true;
        swapper.join();
    });
    PipeWatchdog watchdog({pipeSide}, 5000);
    int pipes = 0;
    int files = 0;
    qint64 slowest = 0;
    QElapsedTimer running;
    running.start();
    for (int load = 0; load < 400 && running.elapsed() < 4000 && !watchdog.fired(); ++load) {
        const qsizetype before = catcher.messages.size();
        slowest = std::max(slowest, timed([&] { action->trigger(); }));
        watchdog.progress();
        const WordListModel& list = form.prim_words->words();
        if (catcher.messages.size() == before + 1 &&
            catcher.messages.last().section('\n', 2) == path + ": it is not a regular file" &&
            list.count() == 0)
            ++pipes;
        else if (catcher.messages.size() == before && list.entries() == QStringList{"Alpha"})
            ++files;
        else
            QFAIL(qPrintable("a read found neither the file nor the pipe: " +
                             catcher.messages.mid(before).join(" | ")));
    }
    QVERIFY2(!watchdog.fired(), "a read waited on the pipe");
    QVERIFY2(slowest < kLoadLimitMs, qPrintable(QString("a read took %1 ms").arg(slowest)));
    QVERIFY2(
        pipes > 0 && files > 0,
        qPrintable(QString("the swap was not seen: %1 pipes, %2 files").arg(pipes).arg(files)));
    stop = true;
    // The file is back in place for good: the last read finds it.
    swapper.join();
    joinSwapper.dismiss();
    action->trigger();
}

// As root, the unreadable-file row asks for a copy of this test running as
// another user; that copy drops root before anything else happens.
int main(int argc, char** argv)
{
    if (const QByteArray user = qgetenv("QUILLMERE_TEST_AS_USER"); !user.isEmpty()) {
        const passwd* pw = ::getpwnam(user.constData());
        if (!pw || ::setgroups(0, nullptr) != 0 || ::setgid(pw->pw_gid) != 0 ||
            ::setuid(pw->pw_uid) != 0) {
            std::fprintf(stderr, "cannot run as %s\n", user.constData());
            return 2;
        }
    }
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestBadFiles test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_badfiles.moc"
