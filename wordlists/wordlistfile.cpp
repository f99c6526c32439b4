#include "wordlistfile.h"

#include "safefile.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The five codes it
// leaves undefined map to the C1 controls, as Windows itself does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// What a byte-order mark says: the encoding's name, its code unit and how
// the bytes of a unit are ordered.
struct Encoding {
    QByteArrayView mark;
    const char* name;
    QStringConverter::Encoding codec;
    qsizetype unit;
    bool bigEndian;
};
// The UTF-32 LE mark begins with the UTF-16 LE one, so it is tried first.
// Without a mark each line is UTF-8 or Windows-1252 on its own.
constexpr Encoding kMarks[] = {
    {QByteArrayView("\xFF\xFE\0\0", 4), "UTF-32 LE", QStringConverter::Utf32LE, 4, false},
    {QByteArrayView("\0\0\xFE\xFF", 4), "UTF-32 BE", QStringConverter::Utf32BE, 4, true},
    {QByteArrayView("\xEF\xBB\xBF", 3), "UTF-8", QStringConverter::Utf8, 1, false},
    {QByteArrayView("\xFF\xFE", 2), "UTF-16 LE", QStringConverter::Utf16LE, 2, false},
    {QByteArrayView("\xFE\xFF", 2), "UTF-16 BE", QStringConverter::Utf16BE, 2, true},
};
constexpr const Encoding& kUnmarked = kMarks[2];

QString decodeCp1252(const uchar* p, qsizetype n)
{
    QString text(n, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = p[i];
        out[i] = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

// The first CR or LF in [p, end), eight bytes at a time: a test for a zero
// byte in the word XORed with each terminator.
const uchar* findBreak(const uchar* p, const uchar* end)
{
    constexpr quint64 kOnes = 0x0101010101010101ULL;
    constexpr quint64 kHighs = 0x8080808080808080ULL;
    while (end - p >= 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        const quint64 cr = word ^ (kOnes * '\r');
        const quint64 lf = word ^ (kOnes * '\n');
        if ((((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighs)
            break;
        p += 8;
    }
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

QString sizeText(qint64 bytes)
{
    constexpr qint64 kMiB = 1024 * 1024;
    return bytes % kMiB == 0 ? QStringLiteral("%1 MiB").arg(bytes / kMiB)
                             : QStringLiteral("%1 bytes").arg(bytes);
}

char32_t unitAt(const uchar* p, const Encoding& encoding)
{
    char32_t unit = 0;
    for (qsizetype k = 0; k < encoding.unit; ++k)
        unit |= char32_t(p[k]) << 8 * (encoding.bigEndian ? encoding.unit - 1 - k : k);
    return unit;
}

// UTF-32 values that are no character (surrogates, above U+10FFFF) and an
// incomplete last unit become replacement characters.
QString decodeUtf32(const uchar* p, qsizetype n, const Encoding& encoding)
{
    QString text;
    text.reserve(n / 4 + 1);
    for (qsizetype i = 0; i + 4 <= n; i += 4) {
        const char32_t cp = unitAt(p + i, encoding);
        const bool character = cp <= 0x10FFFF && !QChar::isSurrogate(cp);
        text.append(
            QStringView(QChar::fromUcs4(character ? cp : char32_t(QChar::ReplacementCharacter))));
    }
    return n % 4 ? text + QChar::ReplacementCharacter : text;
}

// The bytes of a file after its byte-order mark, in the encoding it names.
struct Text {
    const uchar* data;
    qsizetype size;
    const Encoding& encoding;

    char32_t at(qsizetype i) const { return unitAt(data + i, encoding); }
    // Where the line that begins at `from` ends: its terminator, or `size`.
    qsizetype lineEnd(qsizetype from) const
    {
        if (encoding.unit == 1)
            return findBreak(data + from, data + size) - data;
        for (qsizetype i = from; i + encoding.unit <= size; i += encoding.unit) {
            if (at(i) == u'\r' || at(i) == u'\n')
                return i;
        }
        return size;
    }
};

Text withoutMark(QByteArrayView bytes)
{
    const auto* data = reinterpret_cast<const uchar*>(bytes.data());
    for (const Encoding& mark : kMarks) {
        if (bytes.startsWith(mark.mark))
            return {data + mark.mark.size(), bytes.size() - mark.mark.size(), mark};
    }
    return {data, bytes.size(), kUnmarked};
}

// A line in UTF-16 keeps its code units, lone surrogates included, and a
// byte left over at its end becomes a replacement character. A line of 8-bit
// text that is not strict UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF) is Windows-1252.
QString decodeLine(const uchar* p, qsizetype n, const Encoding& encoding, bool& windows1252)
{
    if (encoding.unit == 4)
        return decodeUtf32(p, n, encoding);
    // A byte-order mark inside the file is a character like any other.
    QStringDecoder decoder(encoding.codec, QStringConverter::Flag::Stateless |
                                               QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(QByteArrayView(p, n - n % encoding.unit));
    windows1252 = encoding.unit == 1 && decoder.hasError();
    if (windows1252)
        return decodeCp1252(p, n);
    return n % encoding.unit ? text + QChar::ReplacementCharacter : text;
}

// Splits the bytes of a file into entries, at most `maxLines` of them. When
// the bytes are not the whole file (a limit or a failed read cut them short),
// their last line without a terminator is no entry: it may be half a line.
WordListRead split(QByteArrayView bytes, bool whole, const WordListLimits& limits)
{
    const Text text = withoutMark(bytes);
    WordListRead result;
    result.encoding = QLatin1String(text.encoding.name);
    qsizetype pos = 0;
    while (pos < text.size) {
        if (result.lines.size() >= std::max(0, limits.maxLines)) {
            result.truncated = true; // what is left starts a line beyond the limit
            break;
        }
        const qsizetype end = text.lineEnd(pos);
        if (end == text.size && !whole)
            break;
        WordListLine line;
        qsizetype next = end;
        if (end < text.size) {
            next += text.encoding.unit;
            line.end = text.at(end) == u'\n' ? WordListLine::End::Lf : WordListLine::End::Cr;
            if (line.end == WordListLine::End::Cr && next + text.encoding.unit <= text.size &&
                text.at(next) == u'\n') {
                next += text.encoding.unit;
                line.end = WordListLine::End::CrLf;
            }
        }
        result.lines.append(
            decodeLine(text.data + pos, end - pos, text.encoding, line.windows1252));
        if (limits.layout)
            result.layout.append(line);
        pos = next;
    }
    return result;
}

} // namespace

WordListRead ReadWordList(QIODevice& device, const WordListLimits& limits)
{
    // One byte beyond the limit tells whether the file goes on.
    const qint64 limit = std::max<qint64>(0, limits.maxBytes);
    qint64 want = limit + 1;
    if (!device.isSequential())
        want = std::min(want, std::max<qint64>(0, device.size() - device.pos()) + 1);
    QByteArray bytes(want, Qt::Uninitialized);
    qint64 got = 0;
    QString readError;
    while (got < want) {
        const qint64 n = device.read(bytes.data() + got, want - got);
        if (n < 0)
            readError = device.errorString();
        if (n <= 0)
            break;
        got += n;
    }
    const bool tooBig = got > limit;
    bytes.truncate(std::min(got, limit));

    WordListRead result = split(bytes, readError.isEmpty() && !tooBig, limits);
    if (!readError.isEmpty()) {
        result.truncated = false;
        result.error = readError;
    } else if (result.truncated) {
        result.error =
            QStringLiteral("a list holds at most %1 entries; the lines beyond were not added")
                .arg(kMaxWordListEntries);
    } else if (tooBig) {
        result.truncated = true;
        result.error = QStringLiteral("the file is larger than %1; only its first lines were read")
                           .arg(sizeText(limit));
    }
    return result;
}

WordListRead ReadWordListFile(const QString& fullPath, const WordListLimits& limits)
{
    QFile file;
    if (QString reason = OpenRegularFile(file, fullPath); !reason.isEmpty()) {
        WordListRead result;
        result.error = std::move(reason);
        return result;
    }
    return ReadWordList(file, limits);
}
