// Word lists: how bytes become entries (line ends, each encoding up to the
// edges of its range), the entry and byte limits, and how failures are told.
// What the window does with a hostile file is the bad-file catalogue's.
#include "loadwordlist.h"
#include "testsupport.h"
#include "wordlist.h"
#include "wordlistfile.h"

#include <QBuffer>

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

// The bytes a row names: "#" and hex digits, or text in which "\x.." is a byte by its code.
QByteArray bytes(const QString& text)
{
    if (text.startsWith('#'))
        return QByteArray::fromHex(text.mid(1).toLatin1());
    const QStringList parts = text.split("\\x");
    QByteArray out = parts[0].toUtf8();
    for (const QString& part : parts.mid(1))
        out += char(part.left(2).toInt(nullptr, 16)) + part.mid(2).toUtf8();
    return out;
}

// The entries a row names: ";" between them, "\u{..}" a character by its code.
QStringList entries(const QString& text)
{
    const QStringList parts = text.split("\\u{");
    QString out = parts[0];
    for (const QString& part : parts.mid(1)) {
        const char32_t c = part.section('}', 0, 0).toUInt(nullptr, 16);
        out += (c > 0xFFFF ? QString::fromUcs4(&c, 1) : QString(QChar(char16_t(c)))) +
               part.section('}', 1);
    }
    return out.isEmpty() ? QStringList() : out.split(';');
}
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
    // replacement character.
    void readsEntries()
    {
        for (
            const QString& row :
            QString(
                R"(line ends, entries as written|  Lord of Ash \x0Ab\x0Dc\x0D\x0Ad|  Lord of Ash ;b;c;d
blanks|a\x0D\x0A\x0D\x0Ab\x0A\x0D\x0D\x0A|a;;b;;
empty||
utf-8 marks|\xEF\xBB\xBFSe\xC3\xA1n\x0D\x0A\xEF\xBB\xBF|Seán;\u{FEFF}
not quite utf-8|\xC0\xAF\x0D\x0A\xE0\x9F\xBF\x0D\x0A\xED\xA0\x80\x0D\x0A\xED\xBF\xBF\x0D\x0A\xF4\x90\x80\x80\x0D\x0A\xF8\x88\x80\x80\x0D\x0A\xE2\x82\x0D\x0Acaf\xC3|À¯;àŸ¿;í\u{A0}€;í¿¿;ô\u{90}€€;øˆ€€;â‚;cafÃ
windows-1252 table|\x80\x81\x8D\x8F\x90\x9D\x9E\x9F\xA0\xFF|€\u{81}\u{8D}\u{8F}\u{90}\u{9D}žŸ\u{A0}ÿ
utf-8 and 1252 lines|\xC5\x8Ckami\x0D\x0ASe\xE1n\x0D\x0A\xF0\x9F\x90\x89 caf\xC3\xA9|Ōkami;Seán;\u{1F409} café
utf-16 le|#fffe 4100 4c01 0d00 0a00 0d00 0a00 3dd8 09dc 00d8 0a00|AŌ;;\u{1F409}\u{D800}
utf-16 be|#feff 014c 006b 000d 0062 000a feff 0063 000a 0d|Ōk;b;\u{FEFF}c;\u{FFFD}
utf-32 le|#fffe0000 41000000 0d000000 0a000000 ffff0000 00000100 ffff1000 00001100 00d80000 ffdf0000 0d000000 79000000 0a00|A;\u{FFFF}\u{10000}\u{10FFFF}\u{FFFD}\u{FFFD}\u{FFFD};y\u{FFFD}
utf-32 be|#0000feff 00000078 0000000d 0010ffff 0000d800 0000000a 0000|x;\u{10FFFF}\u{FFFD};\u{FFFD})")
                .split('\n')) {
            const QStringList field = row.split('|');
            TempExeDir exe;
            const WordListRead read =
                ReadWordListFile(exe.write("/list.quillmere", bytes(field[1])));
            QCOMPARE(QStringList{field[0]} + read.lines, QStringList{field[0]} + entries(field[2]));
            QVERIFY2(read.error.isEmpty() && !read.truncated, qPrintable(field[0]));
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
