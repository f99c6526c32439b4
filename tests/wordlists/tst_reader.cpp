// The word-list reader: lines, encodings, chunk boundaries, the entry and
// byte limits, read failures, and files that cannot be read at all.
#include "form2.h"
#include "loadwordlist.h"
#include "problems.h"
#include "testsupport.h"
#include "wordlist.h"
#include "wordlistfile.h"

#include <QBuffer>
#include <QtTest>
#include <cstring>
#include <sys/stat.h>

class TestReader : public QObject {
    Q_OBJECT
private slots:
    void readsEntries_data();
    void readsEntries();
    void limits_data();
    void limits();
    void npcListFromTwoFiles_data();
    void npcListFromTwoFiles();
    void readFailureKeepsWholeLines();
    void failuresAreToldOnceAndLeaveNothingOpen();
};

namespace {
QByteArray utf16(const QString& text, bool bigEndian)
{
    QByteArray bytes(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (const QChar c : text) {
        const char hi = static_cast<char>(c.unicode() >> 8);
        const char lo = static_cast<char>(c.unicode() & 0xFF);
        bytes.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
    }
    return bytes;
}

QByteArray utf32(const QList<char32_t>& units, bool bigEndian)
{
    QByteArray bytes = bigEndian ? QByteArray("\0\0\xFE\xFF", 4) : QByteArray("\xFF\xFE\0\0", 4);
    for (const char32_t u : units)
        for (int i = 0; i < 4; ++i)
            bytes += static_cast<char>(u >> 8 * (bigEndian ? 3 - i : i));
    return bytes;
}

QByteArray numberedLines(int from, int count)
{
    QByteArray bytes;
    for (int i = from; i < from + count; ++i)
        bytes += QByteArray::number(i) + "\r\n";
    return bytes;
}

// A device that hands out its bytes and then fails, like a disk with a bad
// sector.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(QByteArray bytes) : m_bytes(std::move(bytes))
    {
        open(ReadOnly | Unbuffered);
    }

protected:
    qint64 readData(char* data, qint64 max) override
    {
        if (m_bytes.isEmpty()) {
            setErrorString("Input/output error");
            return -1;
        }
        const qint64 n = std::min<qint64>(max, m_bytes.size());
        std::memcpy(data, m_bytes.constData(), n);
        m_bytes.remove(0, n);
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
};
} // namespace

void TestReader::readsEntries_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    const QStringList abc{"a", "b", "c"};
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\nc\r\n") << abc;
    QTest::newRow("no final end") << QByteArray("a\r\nb\r\nc") << abc;
    QTest::newRow("lf, cr, mixed") << QByteArray("a\nb\rc\r\n") << abc;
    QTest::newRow("blanks") << QByteArray("a\r\n\r\nb\n\r\r\n")
                            << QStringList{"a", "", "b", "", ""};
    QTest::newRow("as written") << QByteArray("  Lord of Ash \r\nx\r\nx")
                                << QStringList{"  Lord of Ash ", "x", "x"};
    QTest::newRow("empty") << QByteArray() << QStringList{};
    QTest::newRow("nul bytes") << QByteArray("a\0b\r\n\0\r\n", 8)
                               << QStringList{QString("a") + QChar(0) + "b", QString(QChar(0))};
    QTest::newRow("utf-8, one bom dropped") << QByteArray("\xEF\xBB\xBFSe\xC3\xA1n\r\n\xEF\xBB\xBF")
                                            << QStringList{u"Seán"_qs, u"\uFEFF"_qs};
    QTest::newRow("windows-1252") << QByteArray("Se\xE1n\r\n\x80 \x93q\x94\r\ncaf\xC3")
                                  << QStringList{u"Seán"_qs, u"€ “q”"_qs, u"cafÃ"_qs};
    QTest::newRow("utf-8 and windows-1252 lines")
        << QByteArray("\xC5\x8Ckami\r\nSe\xE1n\r\n\xF0\x9F\x90\x89 caf\xC3\xA9\r\n")
        << QStringList{u"Ōkami"_qs, u"Seán"_qs, u"🐉 café"_qs};
    // Overlong, surrogate, above U+10FFFF, cut short: none of them is UTF-8.
    QTest::newRow("not quite utf-8")
        << QByteArray("\xC0\xAF\r\n\xED\xA0\x80\r\n\xF4\x90\x80\x80\r\n\xE2\x82")
        << QStringList{u"À¯"_qs, u"í\u00A0€"_qs, u"ô\u0090€€"_qs, u"â‚"_qs};
    QTest::newRow("utf-16 le") << utf16(u"Alpha\r\nŌkami\r\n\r\n🐉\r\n"_qs, false)
                               << QStringList{"Alpha", u"Ōkami"_qs, "", u"🐉"_qs};
    QTest::newRow("utf-16 be, cr and lf alone, odd last byte")
        << utf16(u"Ōkami\rb\n\uFEFFc"_qs, true) + "\x01"
        << QStringList{u"Ōkami"_qs, "b", u"\uFEFFc\uFFFD"_qs};
    QTest::newRow("utf-16 le bom only") << QByteArray("\xFF\xFE") << QStringList{};
    QTest::newRow("utf-32 le") << utf32({'A', 0x014C, '\r', '\n', 0x1F409, 0x110000, '\n'}, false)
                               << QStringList{u"AŌ"_qs, u"🐉\uFFFD"_qs};
    QTest::newRow("utf-32 be, cut short")
        << utf32({'x', '\r', 0xD800, '\r', '\n', 'y'}, true) + QByteArray("\0\0", 2)
        << QStringList{"x", u"\uFFFD"_qs, u"y\uFFFD"_qs};
}

// Every row reads the same from a file through LoadWordList and from memory
// in chunks of every small size, so no line end, character or byte-order
// mark is lost where a chunk ends.
void TestReader::readsEntries()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    TempExeDir exe;
    exe.write("\\data\\t.quillmere", bytes);
    ProblemCatcher catcher;
    WordListModel list;
    {
        Problems::Scope scope(nullptr);
        LoadWordList(list, "\\data\\t.quillmere");
    }
    QCOMPARE(list.entries(), entries);
    QCOMPARE(list.entry(list.count()), QString()); // past the end reads empty
    QCOMPARE(catcher.messages, QStringList());
    for (const int chunk : {1, 2, 3, 5, 7}) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        WordListLimits limits;
        limits.chunkBytes = chunk;
        const WordListRead read = ReadWordList(buffer, limits);
        QCOMPARE(read.lines, entries);
        QVERIFY(read.error.isEmpty() && !read.truncated);
    }
}

void TestReader::limits_data()
{
    // The file is `head`, then NULs (a sparse hole) up to `size` bytes less
    // `tail`, then `tail`.
    QTest::addColumn<int>("before");
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("reason");
    const QString full = "a list holds at most 32767 entries; the lines beyond were not added";
    const QString big = "the file is larger than 4 MiB; only its first lines were read";
    const auto lines = [](int before, int count, bool end = true) {
        QByteArray bytes = numberedLines(1, count);
        if (!end)
            bytes.chop(2);
        return std::make_tuple(before, bytes, qint64(bytes.size()), QByteArray());
    };
    const auto row = [](const char* name, auto file, int count, const QString& last,
                        const QString& reason) {
        const auto& [before, head, size, tail] = file;
        QTest::newRow(name) << before << head << size << tail << count << last << reason;
    };
    row("exactly 32767", lines(0, 32767), 32767, "32767", "");
    row("exactly 32767, no final end", lines(0, 32767, false), 32767, "32767", "");
    row("32768", lines(0, 32768), 32767, "32767", full);
    row("exactly the room left", lines(100, 32667), 32767, "32667", "");
    row("one more than the room left", lines(100, 32668), 32767, "32667", full);
    row("full list, empty file", lines(32767, 0), 32767, "", "");
    row("full list, one blank line",
        std::make_tuple(32767, QByteArray("\r\n"), qint64(2), QByteArray()), 32767, "", full);
    const QString hole4MiB(4194304 - 5, QChar(0));
    row("exactly 4 MiB",
        std::make_tuple(0, QByteArray("a\r\n"), qint64(4194304), QByteArray("\r\n")), 2, hole4MiB,
        "");
    row("one byte over 4 MiB",
        std::make_tuple(0, QByteArray("a\r\n"), qint64(4194305), QByteArray("\r\nz")), 2, hole4MiB,
        big);
    row("5 MiB, cut at the last whole line",
        std::make_tuple(0, QByteArray("a\r\nb\r\n"), qint64(5242880), QByteArray("c\r\n")), 2, "b",
        big);
}

void TestReader::limits()
{
    QFETCH(int, before);
    QFETCH(QByteArray, head);
    QFETCH(qint64, size);
    QFETCH(QByteArray, tail);
    QFETCH(int, count);
    QFETCH(QString, last);
    QFETCH(QString, reason);
    TempExeDir exe;
    QFile file(exe.write("\\data\\t.quillmere", head));
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(size - tail.size()));
    QCOMPARE(file.write(tail), tail.size());
    file.close();
    WordListModel list;
    list.append(QStringList(before, QString()));
    ProblemCatcher catcher;
    {
        Problems::Scope scope(nullptr);
        LoadWordList(list, "\\data\\t.quillmere");
    }
    QCOMPARE(list.count(), count);
    QCOMPARE(list.entry(count - 1), last);
    QCOMPARE(catcher.messages.size(), reason.isEmpty() ? 0 : 1);
    if (!reason.isEmpty())
        QCOMPARE(catcher.messages.first().section('\n', 2),
                 exe.full("\\data\\t.quillmere") + ": " + reason);
}

void TestReader::npcListFromTwoFiles_data()
{
    QTest::addColumn<int>("demon");
    QTest::addColumn<int>("gaelic");
    QTest::addColumn<int>("fromGaelic");
    QTest::addColumn<bool>("overflow");
    QTest::newRow("sum exactly 32767") << 20000 << 12767 << 12767 << false;
    QTest::newRow("sum one over") << 20000 << 12768 << 12767 << true;
    QTest::newRow("demon fills it") << 32767 << 5 << 0 << true;
}

// The NPC window appends the Gaelic names behind the demon names in one
// list: the second file stops at the room the first one left.
void TestReader::npcListFromTwoFiles()
{
    QFETCH(int, demon);
    QFETCH(int, gaelic);
    QFETCH(int, fromGaelic);
    QFETCH(bool, overflow);
    TempExeDir exe;
    exe.write("\\data\\demon\\demon_names.quillmere", numberedLines(1, demon));
    exe.write("\\data\\gaelic\\gaelic_male.quillmere", numberedLines(100001, gaelic));
    ProblemCatcher catcher;
    Form2 npc;
    QCoreApplication::processEvents(); // the load tells its problems once the window is up
    QTRY_COMPARE(catcher.messages.size(), overflow ? 1 : 0);
    const WordListModel& names = *npc.npc_name_list;
    QCOMPARE(names.count(), 32767);
    QCOMPARE(names.entry(demon - 1), QString::number(demon));
    if (fromGaelic > 0) {
        QCOMPARE(names.entry(demon), "100001");
        QCOMPARE(names.entry(32766), QString::number(100000 + fromGaelic));
    }
    if (overflow)
        QCOMPARE(catcher.messages.first().section('\n', 2),
                 exe.full("\\data\\gaelic\\gaelic_male.quillmere") +
                     ": a list holds at most 32767 entries; the lines beyond were not added");
}

// A read that fails part-way keeps the whole lines read before it and gives
// the system's reason; the line it broke off is not an entry.
void TestReader::readFailureKeepsWholeLines()
{
    FailingDevice device("one\r\ntwo\r\nthr");
    WordListLimits limits;
    limits.chunkBytes = 4;
    const WordListRead read = ReadWordList(device, limits);
    QCOMPARE(read.lines, (QStringList{"one", "two"}));
    QCOMPARE(read.error, "Input/output error");
}

void TestReader::failuresAreToldOnceAndLeaveNothingOpen()
{
    TempExeDir exe;
    exe.write("\\data\\good.quillmere", QStringList{"one", "two"});
    exe.write("\\data\\big.quillmere", numberedLines(0, 32767 + 5));
    QDir().mkpath(exe.full("\\data\\folder.quillmere"));
    QCOMPARE(::mkfifo(QFile::encodeName(exe.full("\\data\\pipe.quillmere")).constData(), 0600), 0);
    const QStringList bad{"\\data\\missing.quillmere", "\\data\\folder.quillmere",
                          "\\data\\pipe.quillmere"};
    ProblemCatcher catcher;
    {
        Problems::Scope scope(nullptr);
        WordListModel list;
        list.append({"kept"});
        for (int i = 0; i < 500; ++i) // a leaked descriptor per failure would run out
            for (const QString& rel : bad)
                LoadWordList(list, rel);
        LoadWordList(list, "\\data\\good.quillmere");
        LoadWordList(list, "\\data\\good.quillmere"); // appends, never clears
        QCOMPARE(list.entries(), (QStringList{"kept", "one", "two", "one", "two"}));
        LoadWordList(list, "\\data\\big.quillmere");
        QCOMPARE(list.count(), 32767);
        QCOMPARE(list.entry(32766), "32761");
    }
    QCOMPARE(catcher.messages.size(), 1);
    const QString message = catcher.messages.first();
    for (const char* reason :
         {"missing.quillmere: No such file or directory", "folder.quillmere: it is a folder",
          "pipe.quillmere: it is not a regular file", "big.quillmere: a list holds at most 32767"})
        QVERIFY2(message.contains(exe.path() + "/data/" + reason), reason);
}

QTEST_MAIN(TestReader)
#include "tst_reader.moc"
