// Bytes to entries through the reader the program uses. The first three
// bytes choose the limits, small enough to be reached: the room left in the
// list, the byte limit and the chunk size; the rest is the file. Each input is
// also read whole, without limits, as the yardstick for the limited read.
#include "wordlistfile.h"

#include <QBuffer>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

WordListRead read(QByteArray bytes, int maxLines, qint64 maxBytes, qint64 chunkBytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadWordList(buffer, {maxLines, maxBytes, chunkBytes});
}

// The lines of 8-bit text as any reader must split them: CR LF, LF and CR
// end a line, and a final terminator adds no empty line.
QList<QByteArray> splitBytes(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines << bytes.mid(start, i - start);
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines << bytes.mid(start);
    return lines;
}

QByteArray toUtf16(const QStringList& lines, bool bigEndian)
{
    QByteArray bytes(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (const QString& line : lines) {
        for (const QChar c : line + QStringLiteral("\r\n")) {
            const char hi = static_cast<char>(c.unicode() >> 8);
            const char lo = static_cast<char>(c.unicode() & 0xFF);
            bytes.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
        }
    }
    return bytes;
}

bool startsWith(const QStringList& lines, const QStringList& prefix)
{
    return prefix.size() <= lines.size() && lines.mid(0, prefix.size()) == prefix;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const int maxLines = data[0] < 0xC0 ? data[0] % 48 : kMaxWordListEntries;
    const qint64 maxBytes = data[1] < 0xC0 ? qint64(data[1]) * 5 : kMaxWordListFileBytes;
    const qint64 chunk = data[2] == 0xFF ? 64 * 1024 : data[2] % 32 + 1;
    const QByteArray file(reinterpret_cast<const char*>(data + 3),
                          static_cast<qsizetype>(size - 3));

    const WordListRead whole =
        read(file, kMaxWordListEntries, kMaxWordListFileBytes, file.size() + 1);
    const WordListRead part = read(file, maxLines, maxBytes, chunk);

    for (const WordListRead* r : {&whole, &part}) {
        require(r->truncated == !r->error.isEmpty(), "a message exactly when lines are left out");
        for (const QString& line : r->lines)
            require(!line.contains(u'\r') && !line.contains(u'\n'), "no entry holds a line end");
    }
    require(whole.error.isEmpty(), "a small file is read whole");
    require(part.lines.size() <= maxLines, "no more entries than the room left");
    require(startsWith(whole.lines, part.lines), "limits only ever cut lines off the end");
    if (part.error.isEmpty()) {
        require(part.lines == whole.lines, "chunks do not change what is read");
        require(file.size() <= maxBytes, "a file over the byte limit is told");
    } else if (part.error.contains(QStringLiteral("entries"))) {
        require(part.lines.size() == maxLines && whole.lines.size() > maxLines,
                "the entry limit stops exactly at the room left");
    } else {
        require(file.size() > maxBytes, "only a file over the byte limit is cut for its size");
        // What lies within the limit, less a line the limit cut in two.
        const QStringList head =
            read(file.left(maxBytes), kMaxWordListEntries, kMaxWordListFileBytes, chunk).lines;
        require(part.lines == head || part.lines == head.mid(0, head.size() - 1),
                "the byte limit keeps every whole line before it");
    }

    // Without a UTF-16 or UTF-32 mark, a line that is valid UTF-8 reads as
    // UTF-8 whatever the lines around it hold.
    if (!file.startsWith("\xFF\xFE") && !file.startsWith("\xFE\xFF") &&
        !file.startsWith(QByteArray("\0\0\xFE\xFF", 4))) {
        const QList<QByteArray> raw =
            splitBytes(file.startsWith("\xEF\xBB\xBF") ? file.mid(3) : file);
        require(raw.size() == whole.lines.size(), "one entry for each line");
        for (qsizetype i = 0; i < raw.size(); ++i) {
            const QString text = QString::fromUtf8(raw[i]);
            if (text.toUtf8() == raw[i] && !raw[i].startsWith("\xEF\xBB\xBF"))
                require(whole.lines[i] == text, "a valid UTF-8 line reads as written");
        }
    }

    // Whatever was read, written back as UTF-16 with CR LF, reads the same.
    // (A little-endian mark followed by U+0000 is the UTF-32 mark.)
    const bool bigEndian =
        (data[2] & 1) || (!whole.lines.isEmpty() && whole.lines.first().startsWith(QChar(0)));
    require(read(toUtf16(whole.lines, bigEndian), kMaxWordListEntries, kMaxWordListFileBytes, chunk)
                    .lines == whole.lines,
            "UTF-16 round trip");
    return 0;
}
