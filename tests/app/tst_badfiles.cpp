// The catalogue of hostile files: each row puts one in place of the first
// Game Title list and chooses Game Title. For every row the command returns
// in time and the event loop still turns, exactly one message names the
// file's full path and the reason (none where the file is only odd, not
// bad), the list holds what the file holds, Generate, copy and scrolling stay
// quick afterwards, and nothing under data/ changes. How bytes become entries
// is the reader test's business.
#include "form1.h"
#include "resultbox.h"
#include "testsupport.h"
#include "wordlist.h"

#include <QAction>
#include <QClipboard>
#include <QPushButton>
#include <QtTest>
#include <csignal>
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
const QString kList = "\\data\\adjectives-ect.quillmere";

// What a read told and found: the message, with the file's path as <path>,
// the count of entries and the first two of them.
QString outcome(const QString& reason, int count, const QStringList& entries = {})
{
    const QString told = "Quillmere could not read this word list:\n\n<path>: " + reason;
    return (reason.isEmpty() ? "" : told) + QString("|%1|").arg(count) + entries.join("|");
}

// Puts a hostile thing at a path where a good file stood.
using Plant = std::function<void(const QString& path)>;

// `bytes`, stretched (sparse) to `size`, readable as `mode` says.
Plant writing(const QByteArray& bytes, qint64 size = 0,
              QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner)
{
    return [=](const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.resize(std::max(size, file.size())) || !file.setPermissions(mode))
            qFatal("cannot write %s", qPrintable(path));
    };
}

// The file and the pipe that take turns at the path; it starts as the file.
void plantFileAndPipe(const QString& path)
{
    writing("Alpha\r\n")(path + ".file");
    const QByteArray at = QFile::encodeName(path);
    if (::mkfifo(at + ".fifo", 0644) != 0 || ::link(at + ".file", at) != 0)
        qFatal("cannot plant %s", qPrintable(path));
}

} // namespace

Q_DECLARE_METATYPE(Plant)

class TestBadFiles : public QObject {
    Q_OBJECT
private slots:
    // A read that waits on a pipe would hang the test: the alarm each row
    // sets around its reads fails it instead. Root reads every file whatever
    // its mode: as root the test runs as 'nobody', to whom a file can be
    // unreadable.
    void initTestCase()
    {
        std::signal(SIGALRM, [](int) { qFatal("a read waited on a pipe"); });
        const passwd* nobody = ::geteuid() == 0 ? ::getpwnam("nobody") : nullptr;
        QVERIFY(!nobody || (::setgroups(0, nullptr) == 0 && ::setgid(nobody->pw_gid) == 0 &&
                            ::setuid(nobody->pw_uid) == 0));
    }
    void catalogue_data();
    void catalogue();
};

void TestBadFiles::catalogue_data()
{
    QTest::addColumn<Plant>("plant");
    QTest::addColumn<QStringList>("outcomes"); // of the command, each seen at least once
    const auto row = [](const char* name, const Plant& plant, const QStringList& outcomes) {
        QTest::newRow(name) << plant << outcomes;
    };
    const auto linkingTo = [](const QString& to) {
        return [=](const QString& p) { QFile::link(to, p); };
    };
    const Plant fifo = [](const QString& p) { ::mkfifo(QFile::encodeName(p).constData(), 0644); };
    const QString notRegular = "it is not a regular file";
    const QString tooBig = "the file is larger than 4 MiB; only its first lines were read";
    row("missing", [](const QString&) {}, {outcome("No such file or directory", 0)});
    row("empty", writing(""), {outcome("", 0)});
    row("a folder", [](const QString& p) { QDir().mkpath(p); },
        {outcome("it is a folder, not a file", 0)});
    row("a fifo", fifo, {outcome(notRegular, 0)});
    // Swapped back and forth while Game Title reads over and over.
    row("a fifo swapped in after the check", plantFileAndPipe,
        {outcome("", 1, {"Alpha"}), outcome(notRegular, 0)});
    row("/dev/zero", linkingTo("/dev/zero"), {outcome(notRegular, 0)});
    row("a symlink loop", linkingTo("adjectives-ect.quillmere"),
        {outcome("Too many levels of symbolic links", 0)});
    row("no read permission", writing("Alpha\r\n", 0, {}), {outcome("Permission denied", 0)});
    row("1 GB sparse", writing("", qint64(1) << 30), {outcome(tooBig, 0)});
    row("200 MB, lines first",
        writing(QByteArray("Wandering Lantern\r\n").repeated(60000), 200'000'000),
        {outcome("a list holds at most 32767 entries; the lines beyond were not added", 32767,
                 {"Wandering Lantern", "Wandering Lantern"})});
    row("the longest line kept", writing(QByteArray((4 << 20) - 2, 'x') + "\r\n"),
        {outcome("", 1, {QString((4 << 20) - 2, 'x')})});
    row("a 50 MB line (sparse)", writing("x", 50'000'000), {outcome(tooBig, 0)});
    row("utf-16 with bom",
        writing(QByteArray("\xFF\xFE") +
                QByteArray(reinterpret_cast<const char*>(u"Alpha\r\nŌkami\r\n"), 28)),
        {outcome("", 2, {"Alpha", u"Ōkami"_qs})});
    row("mixed utf-8 and windows-1252", writing("\xC5\x8Ckami\r\nSe\xE1n\r\n"),
        {outcome("", 2, {u"Ōkami"_qs, u"Seán"_qs})});
    row("nul bytes", writing(QByteArray("a\0b\r\n\0\0\0\r\n", 10)),
        {outcome("", 2, {QString("a") + QChar(0) + "b", QString(3, QChar(0))})});
}

void TestBadFiles::catalogue()
{
    QFETCH(Plant, plant);
    QFETCH(QStringList, outcomes);
    if (outcomes[0].contains("Permission denied") && ::geteuid() == 0)
        QSKIP("root reads every file whatever its mode, and there is no user 'nobody' to run as");
    TempExeDir exe;
    exe.write(kList, QStringList{"Shattered", "Silent"});
    exe.write("\\data\\nouns-ect.quillmere", QStringList{"Kingdom", "Saga"});
    ProblemCatcher catcher;
    ResultBox::SetConfirm([](QWidget*) { return true; });
    const auto restoreConfirm = qScopeGuard([] { ResultBox::SetConfirm({}); });
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QString path = exe.full(kList);
    QFile::remove(path);
    plant(path);
    const QStringList data = FolderSignature(exe.full("\\data"));
    const bool swapping = outcomes.size() > 1;
    // The file and the pipe take turns at the path as fast as the system renames. Hard links
    // keep the file as it was; rename() leaves both names when they are links of one file, hence
    // the unlink.
    std::jthread swapper([swapping, at = QFile::encodeName(path)](std::stop_token stop) {
        for (bool pipe = true; swapping && (!stop.stop_requested() || !pipe); pipe = !pipe) {
            if (::link(at + (pipe ? ".fifo" : ".file"), at + ".new") == 0)
                ::rename(at + ".new", at);
            ::unlink(at + ".new");
        }
    });
    const WordListModel& list = form.prim_words->words();
    QSet<QString> seen;
    qint64 slowest = 0;
    QElapsedTimer clock;
    const QDeadlineTimer patience(5000);
    // Once, or while the swap goes on a hundred times at least and on until
    // every outcome was seen on a busy machine.
    ::alarm(20);
    for (int load = 0;
         load < (swapping ? 100 : 1) || (seen.size() < outcomes.size() && !patience.hasExpired());
         ++load) {
        catcher.messages.clear();
        clock.start();
        form.gt->trigger();
        slowest = std::max(slowest, clock.elapsed());
        seen << catcher.messages.join("").replace(path, "<path>") +
                    QString("|%1|").arg(list.count()) + list.entries().mid(0, 2).join("|");
    }
    ::alarm(0);
    swapper = std::jthread(); // stops it with the file back for good
    if (swapping)
        form.gt->trigger();
    QVERIFY2(slowest < kLoadLimitMs, qPrintable(QString("a read took %1 ms").arg(slowest)));
    QVERIFY2(seen == QSet<QString>(outcomes.begin(), outcomes.end()),
             qPrintable(seen.values().join('\n')));
    bool turned = false;
    QTimer::singleShot(0, &form, [&] { turned = true; });
    QTRY_VERIFY_WITH_TIMEOUT(turned, 1000);

    // What was kept, however long, costs little to use.
    const auto quick = [&](const char* what, const std::function<void()>& action) {
        clock.start();
        action();
        form.repaint();
        QVERIFY2(clock.elapsed() < kLaterActionLimitMs, what);
    };
    quick("Generate", [&] { form.Command1->click(); });
    quick("copy", [&] { form.Text2->CopyWithConfirmation(); });
    quick("scrolling down", [&] { form.prim_words->scrollToBottom(); });
    quick("scrolling up", [&] { form.prim_words->scrollToTop(); });
    // The result box holds as much of the phrase as it can take, and copies it.
    QStringList phrases;
    for (const QString& first : list.count() ? list.entries().mid(0, 2) : QStringList{""})
        for (const char* second : {" Kingdom", " Saga"})
            phrases << (first + second).left(32767);
    QVERIFY(phrases.contains(form.Text2->text()));
    QCOMPARE(QGuiApplication::clipboard()->text(), form.Text2->text());
    QCOMPARE(FolderSignature(exe.full("\\data")), data);
}

QTEST_MAIN(TestBadFiles)
#include "tst_badfiles.moc"
