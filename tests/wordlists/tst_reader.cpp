// The word-list reader: how bytes become entries (line ends, encodings),
// the entry and byte limits, and how failures are told; and the guard of the
// standard descriptors. What the window does with a hostile file is the
// bad-file catalogue's.
#include "loadwordlist.h"
#include "stdfds.h"
#include "testsupport.h"
#include "wordlist.h"
#include "wordlistfile.h"

#include <QBuffer>
#include <QStringEncoder>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

class TestReader : public QObject {
    Q_OBJECT
private slots:
    void readsEntries_data();
    void readsEntries();
    void limits();
    void failures();
    void standardDescriptors();
};

namespace {
QByteArray numbered(int count, int from = 1)
{
    QByteArray bytes;
    for (int i = from; i < from + count; ++i)
        bytes += QByteArray::number(i) + "\r\n";
    return bytes;
}

// Hands out its bytes and then fails, like a disk with a bad sector.
struct FailingDevice : QBuffer {
    qint64 readData(char* data, qint64 max) override
    {
        setErrorString("Input/output error");
        return pos() < size() ? QBuffer::readData(data, max) : -1;
    }
};
} // namespace

void TestReader::readsEntries_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    const auto row = [](const char* name, const QByteArray& bytes, const QStringList& entries) {
        QTest::newRow(name) << bytes << entries;
    };
    using E = QStringConverter;
    const auto encoded = [](E::Encoding order, const QString& text) -> QByteArray {
        return QStringEncoder(order, E::Flag::WriteBom).encode(text);
    };
    row("lf, cr, cr lf", "a\nb\rc\r\n", {"a", "b", "c"});
    row("blanks", "a\r\n\r\nb\n\r\r\n", {"a", "", "b", "", ""});
    row("as written, no final end", "  Lord of Ash \r\nx\r\nx", {"  Lord of Ash ", "x", "x"});
    row("empty", "", {});
    row("utf-8, a bom dropped", "\xEF\xBB\xBFSe\xC3\xA1n\r\n\xEF\xBB\xBF",
        {u"Seán"_qs, u"\uFEFF"_qs});
    row("windows-1252", "Se\xE1n\r\n\x80 \x93q\x94\r\ncaf\xC3",
        {u"Seán"_qs, u"€ “q”"_qs, u"cafÃ"_qs});
    // Each line on its own: an author may append to a list in another editor.
    row("utf-8 and 1252 lines", "\xC5\x8Ckami\r\nSe\xE1n\r\n\xF0\x9F\x90\x89 caf\xC3\xA9",
        {u"Ōkami"_qs, u"Seán"_qs, u"🐉 café"_qs});
    // Overlong, surrogate, above U+10FFFF, cut short: none of them is UTF-8.
    row("not quite utf-8", "\xC0\xAF\r\n\xED\xA0\x80\r\n\xF4\x90\x80\x80\r\n\xE2\x82",
        {u"À¯"_qs, u"í\u00A0€"_qs, u"ô\u0090€€"_qs, u"â‚"_qs});
    row("utf-16 le", encoded(E::Utf16LE, u"Alpha\r\nŌkami\r\n\r\n🐉\r\n"_qs),
        {"Alpha", u"Ōkami"_qs, "", u"🐉"_qs});
    row("utf-16 be, lone cr, odd byte", encoded(E::Utf16BE, u"Ōkami\rb\n\uFEFFc"_qs) + "\x01",
        {u"Ōkami"_qs, "b", u"\uFEFFc\uFFFD"_qs});
    row("utf-16 le bom only", "\xFF\xFE", {});
    // Units no encoder writes: above U+10FFFF, a lone surrogate, a last one cut short.
    row("utf-32 le", encoded(E::Utf32LE, u"AŌ\r\n🐉"_qs) + QByteArray("\0\0\x11\0\n\0\0\0", 8),
        {u"AŌ"_qs, u"🐉\uFFFD"_qs});
    row("utf-32 be, cut short",
        encoded(E::Utf32BE, u"x\r"_qs) + QByteArray("\0\0\xD8\0\0\0\0\r\0\0\0\n\0\0\0y\0\0", 18),
        {"x", u"\uFFFD"_qs, u"y\uFFFD"_qs});
}

// Every row reads the same from a device and from a file.
void TestReader::readsEntries()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TempExeDir exe;
    for (const WordListRead& read :
         {ReadWordList(buffer), ReadWordListFile(exe.write("/list.quillmere", bytes))}) {
        QCOMPARE(read.lines, entries);
        QVERIFY(read.error.isEmpty() && !read.truncated);
    }
}

void TestReader::limits()
{
    // One list filled from the demon names (`demons` lines), then from the Gaelic file, as the
    // NPC window fills it; `reason` empty: no message.
    const QString full = "a list holds at most 32767 entries; the lines beyond were not added";
    const QString big = "the file is larger than 4 MiB; only its first lines were read";
    const QByteArray nuls(4194304 - 5, 0);
    struct Row {
        const char* name;
        int demons, count;
        QByteArray gaelic;
        QString last, reason;
    };
    const Row rows[] = {
        {"exactly 32767", 0, 32767, numbered(32767), "32767", ""},
        {"exactly 32767, no final end", 0, 32767, numbered(32767).chopped(2), "32767", ""},
        {"32768", 0, 32767, numbered(32768), "32767", full},
        {"exactly the room left", 20000, 32767, numbered(12767), "12767", ""},
        {"one more than the room left", 20000, 32767, numbered(12768), "12767", full},
        {"full list, empty file", 32767, 32767, "", "132767", ""},
        {"full list, one blank line", 32767, 32767, "\r\n", "132767", full},
        {"exactly 4 MiB", 0, 2, "a\r\n" + nuls + "\r\n", QString(nuls.size(), QChar(0)), ""},
        {"one byte over 4 MiB", 0, 2, "a\r\n" + nuls + "\r\nz", QString(nuls.size(), QChar(0)),
         big},
        {"5 MiB, cut at the last whole line", 0, 2, "a\r\nb\r\n" + QByteArray(5 << 20, 0) + "c\r\n",
         "b", big},
    };
    for (const Row& r : rows) {
        TempExeDir exe;
        exe.write("\\data\\demon\\demon_names.quillmere", numbered(r.demons, 100001));
        const QString path = exe.write("\\data\\gaelic\\gaelic_male.quillmere", r.gaelic);
        ProblemCatcher catcher;
        WordListModel names;
        {
            Problems::Scope scope(nullptr);
            LoadWordList(names, "\\data\\demon\\demon_names.quillmere");
            LoadWordList(names, "\\data\\gaelic\\gaelic_male.quillmere");
            // A list cut at a limit is read, not lost.
            QVERIFY(!Problems::AnyUnreadable());
        }
        const QString lastDemon = r.demons ? QString::number(100000 + r.demons) : "";
        const QString told = "Quillmere could not read this word list:\n\n" + path + ": ";
        QVERIFY2(names.count() == r.count && names.entry(r.demons - 1) == lastDemon &&
                     names.entry(r.count - 1) == r.last &&
                     catcher.messages ==
                         (r.reason.isEmpty() ? QStringList() : QStringList{told + r.reason}),
                 r.name);
    }
}

// The failures of one action are told together, once, each with the full
// path and its reason; a failed load leaves no descriptor open and the list
// as it was, and a read that fails part-way keeps the whole lines before it.
void TestReader::failures()
{
    TempExeDir exe;
    QVERIFY(QDir().mkpath(exe.full("\\data\\folder.quillmere")));
    QVERIFY(QFile::link("/dev/null", exe.full("\\data\\device.quillmere")));
    ProblemCatcher catcher;
    WordListModel list;
    list.append({"kept"});
    {
        Problems::Scope scope(nullptr);
        const auto open = QDir("/proc/self/fd").count();
        for (const char* bad : {"missing", "folder", "device"})
            LoadWordList(list, QString("\\data\\%1.quillmere").arg(bad));
        QCOMPARE(QDir("/proc/self/fd").count(), open);
        QCOMPARE(list.entries(), QStringList{"kept"});
        QVERIFY(Problems::AnyUnreadable());
    }
    const QString told =
        QString("Quillmere could not read these word lists:\n\n%1missing.quillmere: "
                "No such file or directory\n%1folder.quillmere: it is a folder, "
                "not a file\n%1device.quillmere: it is not a regular file");
    QCOMPARE(catcher.messages, QStringList{told.arg(exe.path() + "/data/")});

    FailingDevice device;
    device.setData("one\r\ntwo\r\nthr");
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    const WordListRead read = ReadWordList(device);
    QCOMPARE(read.lines, (QStringList{"one", "two"}));
    QCOMPARE(read.error, "Input/output error");
}

// A program started with standard input and error closed gets /dev/null on
// both before it opens anything, so its next file lands above them.
void TestReader::standardDescriptors()
{
    const pid_t child = fork();
    if (child == 0) {
        ::close(0);
        ::close(2);
        const int closed = OpenClosedStandardDescriptors();
        char in[16] = {}, err[16] = {};
        const bool nulls = ::readlink("/proc/self/fd/0", in, 15) == 9 && !strcmp(in, "/dev/null") &&
                           ::readlink("/proc/self/fd/2", err, 15) == 9 &&
                           !strcmp(err, "/dev/null") &&
                           (::fcntl(2, F_GETFL) & O_ACCMODE) == O_WRONLY;
        _exit(closed == 5 && nulls && ::open("/dev/null", O_RDONLY) > 2 ? 0 : 1);
    }
    int status = -1;
    QVERIFY(child > 0 && waitpid(child, &status, 0) == child && status == 0);
}

QTEST_MAIN(TestReader)
#include "tst_reader.moc"
