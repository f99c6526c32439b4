// Bytes to entries through the reader the program uses. The first three
// bytes choose the limits, small enough to be reached: the room left in the
// list and the byte limit, and the byte order of the UTF-16 copy; the rest is
// the file. Each input is also read whole, without limits, as the yardstick
// for the limited read.
#include "wordlistfile.h"

#include <QBuffer>
#include <QStringEncoder>
#include <cstdint>

namespace {

void require(bool holds, const char* what)
{
    if (!holds)
        qFatal("broken: %s", what);
}

// Every read, limited or not, keeps line ends out of entries and gives a
// message exactly when it leaves lines out.
WordListRead read(QByteArray bytes, const WordListLimits& limits)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const WordListRead r = ReadWordList(buffer, limits);
    for (const QString& line : r.lines)
        require(!line.contains(u'\r') && !line.contains(u'\n'), "no entry holds a line end");
    require(r.truncated == !r.error.isEmpty(), "a message exactly when lines are left out");
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    const int maxLines = data[0] < 0xC0 ? data[0] % 48 : kMaxWordListEntries;
    const qint64 maxBytes = data[1] < 0xC0 ? qint64(data[1]) * 5 : kMaxWordListFileBytes;
    const QByteArray file(reinterpret_cast<const char*>(data + 3), qsizetype(size - 3));

    const WordListRead whole = read(file, {});
    const auto part = read(file, {.maxLines = maxLines, .maxBytes = maxBytes});
    require(whole.error.isEmpty(), "a small file is read whole");
    require(part.lines.size() <= maxLines, "no more entries than the room left");
    require(whole.lines.mid(0, part.lines.size()) == part.lines, "limits only cut off the end");
    if (part.error.isEmpty()) {
        require(part.lines == whole.lines, "a file within the limits is read whole");
        require(file.size() <= maxBytes, "a file over the byte limit is told");
    } else if (part.error.contains(QStringLiteral("entries"))) {
        require(part.lines.size() == maxLines && whole.lines.size() > maxLines,
                "the entry limit stops exactly at the room left");
    } else {
        require(file.size() > maxBytes, "only a file over the byte limit is cut for its size");
        // What lies within the limit, less a line the limit cut in two.
        const QStringList head = read(file.left(maxBytes), {}).lines;
        require(part.lines == head || part.lines == head.mid(0, head.size() - 1),
                "the byte limit keeps every whole line before it");
    }

    // Without a UTF-16 or UTF-32 mark, CR LF, LF and CR end a line, and a
    // line that is valid UTF-8 reads as UTF-8 whatever the lines around it hold.
    if (!file.startsWith("\xFF\xFE") && !file.startsWith("\xFE\xFF") &&
        !file.startsWith(QByteArray("\0\0\xFE\xFF", 4))) {
        QByteArray text = file.startsWith("\xEF\xBB\xBF") ? file.mid(3) : file;
        QList<QByteArray> raw = text.replace("\r\n", "\n").replace('\r', '\n').split('\n');
        if (raw.constLast().isEmpty())
            raw.removeLast(); // a final terminator adds no line
        require(raw.size() == whole.lines.size(), "one entry for each line");
        for (qsizetype i = 0; i < raw.size(); ++i) {
            const QString line = QString::fromUtf8(raw[i]);
            if (line.toUtf8() == raw[i] && !raw[i].startsWith("\xEF\xBB\xBF"))
                require(whole.lines[i] == line, "a valid UTF-8 line reads as written");
        }
    }

    // Whatever was read, written back as UTF-16 with CR LF, reads the same.
    // (A little-endian mark followed by U+0000 is the UTF-32 mark.)
    const bool bigEndian = (data[2] & 1) || whole.lines.value(0).startsWith(QChar(0));
    const QString back = whole.lines.isEmpty() ? QString() : whole.lines.join("\r\n") + "\r\n";
    const auto order = bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE;
    const QByteArray utf16 = QStringEncoder(order, QStringConverter::Flag::WriteBom).encode(back);
    require(read(utf16, {}).lines == whole.lines, "UTF-16 round trip");
    return 0;
}
