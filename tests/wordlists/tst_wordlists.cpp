// Word lists: how bytes become entries (line ends, each encoding up to the
// edges of its range), the entry and byte limits, how failures are told, and
// the random pick and Generate. What the window does with a hostile file is
// the bad-file catalogue's.
#include "loadwordlist.h"
#include "testsupport.h"
#include "twoword.h"
#include "wordlist.h"
#include "wordlistfile.h"

#include <QBuffer>

class TestWordLists : public QObject {
    Q_OBJECT
private slots:
    void readsEntries_data();
    void readsEntries();
    void loads();
    void phrase();
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

void TestWordLists::readsEntries_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    const auto row = [](const char* name, const QByteArray& bytes, const QStringList& entries) {
        QTest::newRow(name) << bytes << entries;
    };
    const auto hex = [](const char* digits) { return QByteArray::fromHex(digits); };
    const QString dragon = u"\U0001F409"_qs, lone = QChar(0xD800), bad = QChar(0xFFFD);
    row("line ends, entries as written", "  Lord of Ash \nb\rc\r\nd",
        {"  Lord of Ash ", "b", "c", "d"});
    row("blanks, and no entry after the last end", "a\r\n\r\nb\n\r\r\n", {"a", "", "b", "", ""});
    row("empty", "", {});
    row("utf-8 mark dropped, one inside kept", "\xEF\xBB\xBFSe\xC3\xA1n\r\n\xEF\xBB\xBF",
        {u"Seán"_qs, u"\uFEFF"_qs});
    row("utf-8 at the edges of its range",
        "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80"
        "\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
        {u"\u007F\u0080\u07FF\u0800\uD7FF\uE000\uFFFF\U00010000\U0010FFFF"_qs});
    // Overlong, the first and last surrogate, above U+10FFFF, a lead byte of five, cut short
    // before a line end and at the end of the file: none is UTF-8, so each line is Windows-1252,
    // whose 0x80-0x9F differ from Latin-1 (five of them undefined).
    row("not quite utf-8",
        "\xC0\xAF\r\n\xE0\x9F\xBF\r\n\xED\xA0\x80\r\n\xED\xBF\xBF\r\n\xF4\x90\x80\x80\r\n"
        "\xF8\x88\x80\x80\r\n\xE2\x82\r\ncaf\xC3",
        {u"À¯"_qs, u"àŸ¿"_qs, u"í\u00A0€"_qs, u"í¿¿"_qs, u"ô\u0090€€"_qs, u"øˆ€€"_qs, u"â‚"_qs,
         u"cafÃ"_qs});
    row("windows-1252 table", "\x80\x81\x8D\x8F\x90\x9D\x9E\x9F\xA0\xFF",
        {u"€\u0081\u008D\u008F\u0090\u009DžŸ\u00A0ÿ"_qs});
    // Each line on its own: an author may append to a list in another editor.
    row("utf-8 and 1252 lines", "\xC5\x8Ckami\r\nSe\xE1n\r\n\xF0\x9F\x90\x89 caf\xC3\xA9",
        {u"Ōkami"_qs, u"Seán"_qs, dragon + u" café"_qs});
    row("utf-16 le, a lone surrogate, a line end last",
        hex("fffe 4100 4c01 0d00 0a00 0d00 0a00 3dd8 09dc 00d8 0a00"),
        {u"AŌ"_qs, "", dragon + lone});
    row("utf-16 be, a mark inside, odd byte",
        hex("feff 014c 006b 000d 0062 000a feff 0063 000a 0d"),
        {u"Ōk"_qs, "b", u"\uFEFFc"_qs, bad});
    row("utf-16 le mark only", "\xFF\xFE", {});
    // No character: above U+10FFFF, the surrogates; a last unit cut short.
    row("utf-32 le",
        hex("fffe0000 41000000 0d000000 0a000000 ffff0000 00000100 ffff1000 "
            "00001100 00d80000 ffdf0000 0d000000 79000000 0a00"),
        {"A", u"\uFFFF\U00010000\U0010FFFF"_qs + bad + bad + bad, "y" + bad});
    row("utf-32 be", hex("0000feff 00000078 0000000d 0010ffff 0000d800 0000000a 0000"),
        {"x", u"\U0010FFFF"_qs + bad, bad});
}

void TestWordLists::readsEntries()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    TempExeDir exe;
    const WordListRead read = ReadWordListFile(exe.write("/list.quillmere", bytes));
    QCOMPARE(read.lines, entries);
    QVERIFY(read.error.isEmpty() && !read.truncated);
}

// Two files loaded into one list, as the NPC window fills it: the demon names, then the Gaelic
// ones. A list cut at a limit is read as far as it goes; a file that cannot be read leaves no
// descriptor open. What went wrong is told once, each file with its full path and reason.
void TestWordLists::loads()
{
    const QString told =
        "Quillmere could not read this word list:\n\n%1gaelic/gaelic_male.quillmere: ";
    const QString full =
        told + "a list holds at most 32767 entries; the lines beyond were not added";
    const QString big = told + "the file is larger than 4 MiB; only its first lines were read";
    const QByteArray nuls(4194304 - 5, 0), demons = numbered(20000, 100001);
    const QString nulText(nuls.size(), QChar(0));
    // The two files, the count and last entry of the list, and what is told.
    const std::tuple<QByteArray, QByteArray, int, QString, QString> rows[] = {
        {"", numbered(32767), 32767, "32767", ""},
        {"", numbered(32767).chopped(2), 32767, "32767", ""},
        {"", numbered(32768), 32767, "32767", full},
        {demons, numbered(12767), 32767, "12767", ""},
        {demons, numbered(12768), 32767, "12767", full},
        {numbered(32767, 100001), "", 32767, "132767", ""},
        {numbered(32767, 100001), "\r\n", 32767, "132767", full},
        {"", "a\r\n" + nuls + "\r\n", 2, nulText, ""},
        {"", "a\r\n" + nuls + "\r\nz", 2, nulText, big},
        {"", "a\r\nb\r\n" + QByteArray(5 << 20, 0) + "c\r\n", 2, "b", big},
        {"<none>", "<none>", 0, "",
         "Quillmere could not read these word lists:\n\n%1demon/demon_names.quillmere: No such "
         "file or directory\n"
         "%1gaelic/gaelic_male.quillmere: No such file or directory"},
    };
    for (const auto& [demon, gaelic, count, last, message] : rows) {
        TempExeDir exe;
        if (demon != "<none>")
            exe.write("/data/demon/demon_names.quillmere", demon);
        if (gaelic != "<none>")
            exe.write("/data/gaelic/gaelic_male.quillmere", gaelic);
        ProblemCatcher catcher;
        WordListModel names;
        const auto open = QDir("/proc/self/fd").count();
        {
            Problems::Scope scope(nullptr);
            LoadWordList(names, "\\data\\demon\\demon_names.quillmere");
            LoadWordList(names, "\\data\\gaelic\\gaelic_male.quillmere");
        }
        QCOMPARE(QDir("/proc/self/fd").count(), open);
        QCOMPARE(names.count(), count);
        QCOMPARE(names.entry(count - 1), last);
        QCOMPARE(catcher.messages, message.isEmpty()
                                       ? QStringList()
                                       : QStringList{message.arg(exe.path() + "/data/")});
    }
    FailingDevice device; // a read that fails part-way keeps the whole lines before it
    device.setData("one\r\ntwo\r\nthr");
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    const WordListRead read = ReadWordList(device);
    QCOMPARE(read.lines, (QStringList{"one", "two"}));
    QVERIFY(read.error == "Input/output error" && !read.truncated);
}

// Generate joins an entry of each list, picked by a draw each, first the primary; the last
// entry can be picked, an empty list gives the empty text, and entries keep their spaces.
void TestWordLists::phrase()
{
    const QStringList adj{"Crimson", "Silent", "Eternal"}, noun{"Kingdom", "Saga"};
    const std::tuple<QStringList, QStringList, float, float, QString> rows[] = {
        {adj, noun, 0.0f, kLargestBelowOne, "Crimson Saga"},
        {adj, noun, kLargestBelowOne, 0.0f, "Eternal Kingdom"},
        {adj, noun, 1.0f / 3, 0.49999997f, "Silent Kingdom"},
        {{}, {}, 0.1f, kLargestBelowOne, " "},
        {{""}, {" the Rings "}, 0.3f, 0.6f, "  the Rings "}};
    for (const auto& [prim, second, r1, r2, result] : rows) {
        WordListModel p, s;
        p.append(prim);
        s.append(second);
        ScriptedDraws draws({r1, r2});
        QCOMPARE(GeneratePhrase(p, s), result);
        QCOMPARE(draws.used, 2);
    }
    QCOMPARE(PickIndexFor(32767, kLargestBelowOne), 32766);
}

QTEST_MAIN(TestWordLists)
#include "tst_wordlists.moc"
