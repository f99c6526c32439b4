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
#include <QClipboard>
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

// Far above what a load and a later command take (a tenth and a twentieth
// of a second at most in a Release build, about as much again under the
// sanitizers) and far below a frozen window: the margin is for a busy machine.
constexpr qint64 kLoadLimitMs = 1000;
constexpr qint64 kLaterActionLimitMs = 500;
const QString kSwapRow = "a fifo swapped in after the check";

// Puts a hostile thing at a path where a good file stood.
using Plant = std::function<void(const QString& path)>;

// `bytes` written `times` over, then the file stretched (sparse) to `size`.
Plant writing(const QByteArray& bytes, int times = 1, qint64 size = 0)
{
    return [=](const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        for (int i = 0; i < times; ++i)
            file.write(bytes);
        if (size > file.size())
            file.resize(size);
    };
}

Plant linkingTo(const QByteArray& target)
{
    return [=](const QString& path) {
        if (::symlink(target.constData(), QFile::encodeName(path).constData()) != 0)
            qFatal("cannot link %s", qPrintable(path));
    };
}

// The file and the pipe that take turns at the path; it starts as the file.
void plantFileAndPipe(const QString& path)
{
    writing("Alpha\r\n")(path + ".file");
    ::mkfifo(QFile::encodeName(path + ".fifo").constData(), 0644);
    if (::link(QFile::encodeName(path + ".file").constData(), QFile::encodeName(path).constData()))
        qFatal("cannot link %s", qPrintable(path));
}

template <typename F> qint64 timed(F&& action)
{
    QElapsedTimer clock;
    clock.start();
    action();
    return clock.elapsed();
}

// Opens the pipe for writing once the window has gone `limitMs` without
// progress: a read waiting on it then ends, and the test fails instead of
// hanging.
class PipeWatchdog {
public:
    PipeWatchdog(const QString& pipe, qint64 limitMs)
        : m_pipe(QFile::encodeName(pipe)), m_limitMs(limitMs), m_thread([this] {
              while (!m_stop) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(50));
                  if (QDateTime::currentMSecsSinceEpoch() - m_last > m_limitMs) {
                      m_fired = true;
                      if (const int fd = ::open(m_pipe.constData(), O_WRONLY | O_NONBLOCK); fd >= 0)
                          ::close(fd);
                  }
              }
          })
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
    const QByteArray m_pipe;
    const qint64 m_limitMs;
    std::atomic<bool> m_stop = false;
    std::atomic<bool> m_fired = false;
    std::atomic<qint64> m_last = QDateTime::currentMSecsSinceEpoch();
    std::thread m_thread;
};

} // namespace

Q_DECLARE_METATYPE(Plant)

class TestBadFiles : public QObject {
    Q_OBJECT
private slots:
    void catalogue_data();
    void catalogue();

private:
    void swapFileAndPipeWhileLoading(Form1& form, const QString& path, QAction* command,
                                     const ProblemCatcher& catcher);
};

void TestBadFiles::catalogue_data()
{
    QTest::addColumn<QString>("replaced"); // the file the hostile one stands in for
    QTest::addColumn<QString>("action");   // the menu item whose command reads it
    QTest::addColumn<Plant>("plant");
    QTest::addColumn<QString>("reason"); // empty: no message
    QTest::addColumn<int>("count");      // entries the list ends with
    QTest::addColumn<QStringList>("entries");

    const QString tooBig = "the file is larger than 4 MiB; only its first lines were read";
    const QString notRegular = "it is not a regular file";
    const auto row = [](const QString& name, const Plant& plant, const QString& reason, int count,
                        const QStringList& entries = {}) {
        QTest::newRow(qPrintable(name)) << "\\data\\adjectives-ect.quillmere"
                                        << "gt" << plant << reason << count << entries;
    };
    QByteArray lines;
    while (lines.size() < (1 << 20))
        lines += "Wandering Lantern\r\n";

    row(
        "missing", [](const QString&) {}, "No such file or directory", 0);
    row("empty", writing(""), "", 0);
    row(
        "a folder", [](const QString& path) { QDir().mkpath(path); }, "it is a folder, not a file",
        0);
    row(
        "a fifo", [](const QString& path) { ::mkfifo(QFile::encodeName(path).constData(), 0644); },
        notRegular, 0);
    row(kSwapRow, plantFileAndPipe, notRegular, 1, {"Alpha"});
    row("/dev/zero", linkingTo("/dev/zero"), notRegular, 0);
    row("a symlink loop", linkingTo("adjectives-ect.quillmere"),
        "Too many levels of symbolic links", 0);
    row(
        "no read permission",
        [](const QString& path) {
            writing("Alpha\r\n")(path);
            QFile::setPermissions(path, {});
        },
        "Permission denied", 0);
    row("1 GB sparse", writing("", 1, qint64(1) << 30), tooBig, 0);
    row("200 MB of lines", writing(lines, 200),
        "a list holds at most 32767 entries; the lines beyond were not added", 32767,
        {"Wandering Lantern", "Wandering Lantern"});
    row("a 50 MB line", writing(QByteArray(50'000'000, 'x') + "\r\n"), tooBig, 0);
    row("the longest line kept", writing(QByteArray((4 << 20) - 2, 'x') + "\r\n"), "", 1,
        {QString((4 << 20) - 2, 'x')});
    row("nul bytes", writing(QByteArray("a\0b\r\n\0\0\0\r\n", 10)), "", 2,
        {QString("a") + QChar(0) + "b", QString(3, QChar(0))});
    row("utf-16 with bom",
        writing(QByteArray("\xFF\xFE") +
                QByteArray(reinterpret_cast<const char*>(u"Alpha\r\nŌkami\r\n"), 28)),
        "", 2, {"Alpha", u"Ōkami"_qs});
    row("mixed utf-8 and windows-1252", writing("\xC5\x8Ckami\r\nSe\xE1n\r\n"), "", 2,
        {u"Ōkami"_qs, u"Seán"_qs});
}

void TestBadFiles::catalogue()
{
    QFETCH(QString, replaced);
    QFETCH(QString, action);
    QFETCH(Plant, plant);
    QFETCH(QString, reason);
    QFETCH(int, count);
    QFETCH(QStringList, entries);

    if (reason == "Permission denied" && ::geteuid() == 0) {
        // Root reads every file whatever its mode: the row runs again in a
        // copy of this test as a user the mode applies to.
        if (!::getpwnam("nobody"))
            QSKIP("running as root, and there is no user 'nobody' to read as");
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUILLMERE_TEST_AS_USER", "nobody");
        env.remove("XDG_RUNTIME_DIR");
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
    QFile::remove(path);
    plant(path);
    const QStringList data = FolderSignature(exe.full("\\data"));
    auto* command = form.findChild<QAction*>(action);
    QVERIFY(command);
    if (QTest::currentDataTag() == kSwapRow) {
        swapFileAndPipeWhileLoading(form, path, command, catcher);
        if (QTest::currentTestFailed())
            return;
    } else {
        PipeWatchdog watchdog(path, 5000);
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
    const std::pair<const char*, std::function<void()>> later[] = {
        {"Generate", [&] { form.Command1->click(); }},
        {"copy", [&] { form.Text2->CopyWithConfirmation(); }},
        {"scrolling", [&] {
             form.prim_words->scrollToBottom();
             form.prim_words->repaint();
             form.prim_words->scrollToTop();
         }}};
    for (const auto& [what, run] : later) {
        const std::function<void()>& action = run; // clang 14 cannot capture a binding
        const qint64 ms = timed([&] {
            action();
            form.repaint();
        });
        QVERIFY2(ms < kLaterActionLimitMs, qPrintable(QString("%1 took %2 ms").arg(what).arg(ms)));
    }
    // The result box holds as much of the phrase as it can take, and copies it.
    QStringList phrases;
    for (const QString& first : count ? list.entries().mid(0, 2) : QStringList{""})
        for (const char* second : {" Kingdom", " Saga"})
            phrases << (first + second).left(32767);
    QVERIFY(phrases.contains(form.Text2->text()));
    QCOMPARE(QGuiApplication::clipboard()->text(), form.Text2->text());
    QCOMPARE(FolderSignature(exe.full("\\data")), data);
}

// The file and the pipe take turns at `path` as fast as the system renames
// while the command reads it over and over: every read returns, finding the
// file's entry or refusing the pipe, and both are seen.
void TestBadFiles::swapFileAndPipeWhileLoading(Form1& form, const QString& path, QAction* command,
                                               const ProblemCatcher& catcher)
{
    std::atomic<bool> stop = false;
    std::thread swapper([&] {
        // rename() leaves both names when they are links of one file, hence the unlink.
        const auto put = [&](const QString& side) {
            // A failed link shows as a missing side, which the loop below waits for.
            [[maybe_unused]] const int linked = ::link(
                QFile::encodeName(side).constData(), QFile::encodeName(path + ".new").constData());
            ::rename(QFile::encodeName(path + ".new").constData(),
                     QFile::encodeName(path).constData());
            ::unlink(QFile::encodeName(path + ".new").constData());
        };
        for (bool pipe = true; !stop; pipe = !pipe)
            put(path + (pipe ? ".fifo" : ".file"));
        put(path + ".file");
    });
    auto joinSwapper = qScopeGuard([&] {
        stop = true;
        swapper.join();
    });
    PipeWatchdog watchdog(path + ".fifo", 5000);
    int pipes = 0;
    int files = 0;
    qint64 slowest = 0;
    QElapsedTimer running;
    running.start();
    // A hundred reads at least, and on until both sides were seen on a busy machine.
    for (int load = 0;
         (load < 100 || !pipes || !files) && running.elapsed() < 5000 && !watchdog.fired();
         ++load) {
        const qsizetype before = catcher.messages.size();
        slowest = std::max(slowest, timed([&] { command->trigger(); }));
        watchdog.progress();
        const QStringList told = catcher.messages.mid(before);
        const QStringList read = form.prim_words->words().entries();
        if (told.size() == 1 && told[0].section('\n', 2) == path + ": it is not a regular file" &&
            read.isEmpty())
            ++pipes;
        else if (told.isEmpty() && read == QStringList{"Alpha"})
            ++files;
        else
            QFAIL(qPrintable("a read found neither the file nor the pipe: " + told.join(" | ")));
    }
    QVERIFY2(!watchdog.fired(), "a read waited on the pipe");
    QVERIFY2(slowest < kLoadLimitMs, qPrintable(QString("a read took %1 ms").arg(slowest)));
    QVERIFY2(
        pipes > 0 && files > 0,
        qPrintable(QString("the swap was not seen: %1 pipes, %2 files").arg(pipes).arg(files)));
    // With the file back in place for good, the last read finds it.
    joinSwapper.dismiss();
    stop = true;
    swapper.join();
    command->trigger();
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
