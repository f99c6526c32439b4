// Bytes to entries through the reader the program uses. The first three bytes
// choose the room left in the list and the byte limit (small enough to be
// reached, below 0xC0) and the byte order of the UTF-16 copy; the rest is the
// file. Whatever the bytes, no entry holds a line
// end, a limit only cuts entries off the end and is told exactly when it
// does, and the entries written back as UTF-16 read the same.
#include "wordlistfile.h"

#include <QBuffer>
#include <QStringEncoder>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto read = [](QByteArray bytes, const WordListLimits& limits = {}) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return ReadWordList(buffer, limits);
    };
    if (size < 3)
        return 0;
    const WordListLimits limits{.maxLines = data[0] < 0xC0 ? data[0] % 48 : kMaxWordListEntries,
                                .maxBytes =
                                    data[1] < 0xC0 ? qint64(data[1]) * 5 : kMaxWordListFileBytes};
    const QByteArray file(reinterpret_cast<const char*>(data + 3), qsizetype(size - 3));
    const WordListRead whole = read(file), part = read(file, limits);
    const QString back = whole.lines.isEmpty() ? QString() : whole.lines.join("\r\n") + "\r\n";
    // A little-endian mark followed by U+0000 would be the UTF-32 mark.
    const auto order = (data[2] & 1) || back.startsWith(QChar(0)) ? QStringConverter::Utf16BE
                                                                  : QStringConverter::Utf16LE;
    const bool holds =
        whole.error.isEmpty() && !whole.lines.join("").contains(u'\r') &&
        !whole.lines.join("").contains(u'\n') && part.lines.size() <= limits.maxLines &&
        part.truncated == !part.error.isEmpty() && (part.truncated || part.lines == whole.lines) &&
        whole.lines.mid(0, part.lines.size()) == part.lines &&
        read(QStringEncoder(order, QStringConverter::Flag::WriteBom).encode(back)).lines ==
            whole.lines;
    if (!holds)
        qFatal("the reader broke a rule on this input");
    return 0;
}
