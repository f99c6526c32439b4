// Word lists: how bytes become entries (line ends, each encoding up to the
// edges of its range), the entry and byte limits, and how failures are told.
// What the window does with a hostile file is the bad-file catalogue's.
#include "loadwordlist.h"
#include "testsupport.h"
#include "wordlist.h"
#include "wordlistfile.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

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

class TestWordLists : public QObject {
    Q_OBJECT
private slots:
    // What a row shows, the bytes of a file and its entries. Line ends of every kind; blank lines
    // are entries, and no entry follows the last end. A UTF-8 mark at the start is dropped, one
    // inside kept. Overlong, the first and last surrogate, above U+10FFFF, a lead byte of five, cut
    // short before a line end and at the end of the file: none is UTF-8, so each line is
    // Windows-1252, whose 0x80-0x9F differ from Latin-1 (five of them undefined); each line on its
    // own, as an author may append to a list in another editor. UTF-16 keeps a lone surrogate and a
    // mark inside; an odd byte, and in UTF-32 what is no character or a last unit cut short, is a
    // replacement character. Rows are JSON: the file's bytes as \u00XX (or after "=" in hex), then
    // its entries, a character beyond U+FFFF as its surrogate pair.
    void readsEntries()
    {
        const QJsonDocument rows = QJsonDocument::fromJson(R"({
"line ends, entries as written": ["  Lord of Ash \nb\rc\r\nd", ["  Lord of Ash ", "b", "c", "d"]],
"blanks": ["a\r\n\r\nb\n\r\r\n", ["a", "", "b", "", ""]],
"empty": ["", []],
"utf-8 marks": ["\u00ef\u00bb\u00bfSe\u00c3\u00a1n\r\n\u00ef\u00bb\u00bf", ["Seán", "\ufeff"]],
"not quite utf-8": ["=c0af 0d0a e09fbf 0d0a eda080 0d0a edbfbf 0d0a f4908080 0d0a f8888080 0d0a e282 0d0a 636166c3", ["À¯", "àŸ¿", "í\u00a0€", "í¿¿", "ô\u0090€€", "øˆ€€", "â‚", "cafÃ"]],
"windows-1252 table": ["=80 81 8d 8f 90 9d 9e 9f a0 ff", ["€\u0081\u008d\u008f\u0090\u009džŸ\u00a0ÿ"]],
"utf-8 and 1252 lines": ["\u00c5\u008ckami\r\nSe\u00e1n\r\n\u00f0\u009f\u0090\u0089 caf\u00c3\u00a9", ["Ōkami", "Seán", "🐉 café"]],
"utf-16 le": ["=fffe 4100 4c01 0d00 0a00 0d00 0a00 3dd8 09dc 00d8 0a00", ["AŌ", "", "🐉\ud800"]],
"utf-16 be": ["=feff 014c 006b 000d 0062 000a feff 0063 000a 0d", ["Ōk", "b", "\ufeffc", "\ufffd"]],
"utf-32 le": ["=fffe0000 41000000 0d000000 0a000000 ffff0000 00000100 ffff1000 00001100 00d80000 ffdf0000 0d000000 79000000 0a00", ["A", "\uffff\ud800\udc00\udbff\udfff\ufffd\ufffd\ufffd", "y\ufffd"]],
"utf-32 be": ["=0000feff 00000078 0000000d 0010ffff 0000d800 0000000a 0000", ["x", "\udbff\udfff\ufffd", "\ufffd"]]
})");
        QCOMPARE(rows.object().size(), 11);
        for (const QString& name : rows.object().keys()) {
            const QString text = rows[name][0].toString();
            TempExeDir exe;
            const WordListRead read = ReadWordListFile(exe.write(
                "/list.quillmere",
                text.startsWith(u'=') ? QByteArray::fromHex(text.toLatin1()) : text.toLatin1()));
            QCOMPARE(QStringList{name} << read.error << read.lines,
                     QStringList{name} << "" << rows[name][1].toVariant().toStringList());
        }
    }

    // Two files loaded into one list, as the NPC window fills it: the demon names, then the Gaelic
    // ones. A list cut at a limit is read as far as it goes; a file that cannot be read leaves no
    // descriptor open. What went wrong is told once, each file with its full path and reason.
    void loads()
    {
        const QString told =
            "Quillmere could not read this word list:\n\n%1gaelic/gaelic_male.quillmere: ";
        const QString full =
            told + "a list holds at most 32767 entries; the lines beyond were not added";
        const QString big = told + "the file is larger than 4 MiB; only its first lines were read";
        const QByteArray nuls(4194304 - 5, 0), demons = numbered(20000, 100001);
        // The two files, the count and last entry of the list, and what is told.
        const std::tuple<QByteArray, QByteArray, int, QString, QString> rows[] = {
            {"", numbered(32767), 32767, "32767", ""},
            {"", numbered(32767).chopped(2), 32767, "32767", ""},
            {"", numbered(32768), 32767, "32767", full},
            {demons, numbered(12767), 32767, "12767", ""},
            {demons, numbered(12768), 32767, "12767", full},
            {numbered(32767, 100001), "", 32767, "132767", ""},
            {numbered(32767, 100001), "\r\n", 32767, "132767", full},
            {"", "a\r\n" + nuls + "\r\n", 2, QString(nuls.size(), QChar(0)), ""},
            {"", "a\r\n" + nuls + "\r\nz", 2, QString(nuls.size(), QChar(0)), big},
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
            QCOMPARE(catcher.messages.join('|'),
                     QString(message).replace("%1", exe.path() + "/data/"));
        }
        FailingDevice device; // a read that fails part-way keeps the whole lines before it
        device.setData("one\r\ntwo\r\nthr");
        device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        WordListRead read = ReadWordList(device);
        QCOMPARE(read.lines << read.error << QString::number(read.truncated),
                 (QStringList{"one", "two", "Input/output error", "0"}));
    }
};

QTEST_MAIN(TestWordLists)
#include "tst_wordlists.moc"
