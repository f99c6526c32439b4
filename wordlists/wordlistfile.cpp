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

enum class Encoding { EightBit, Utf16LE, Utf16BE, Utf32LE, Utf32BE };

// The name and code-unit size of each encoding, in the order of Encoding.
constexpr std::pair<const char*, qsizetype> kEncodings[] = {
    {"UTF-8", 1}, {"UTF-16 LE", 2}, {"UTF-16 BE", 2}, {"UTF-32 LE", 4}, {"UTF-32 BE", 4}};

constexpr const char* encodingName(Encoding e)
{
    return kEncodings[static_cast<int>(e)].first;
}

constexpr qsizetype unitSize(Encoding e)
{
    return kEncodings[static_cast<int>(e)].second;
}

struct ByteOrderMark {
    QByteArrayView bytes;
    Encoding encoding;
};
// The UTF-32 LE mark begins with the UTF-16 LE one, so it is tried first.
constexpr ByteOrderMark kMarks[] = {
    {QByteArrayView("\xFF\xFE\0\0", 4), Encoding::Utf32LE},
    {QByteArrayView("\0\0\xFE\xFF", 4), Encoding::Utf32BE},
    {QByteArrayView("\xEF\xBB\xBF", 3), Encoding::EightBit},
    {QByteArrayView("\xFF\xFE", 2), Encoding::Utf16LE},
    {QByteArrayView("\xFE\xFF", 2), Encoding::Utf16BE},
};

char32_t unitAt(const uchar* p, Encoding e)
{
    switch (e) {
    case Encoding::EightBit:
        return p[0];
    case Encoding::Utf16LE:
        return char32_t(p[0]) | char32_t(p[1]) << 8;
    case Encoding::Utf16BE:
        return char32_t(p[0]) << 8 | char32_t(p[1]);
    case Encoding::Utf32LE:
        return char32_t(p[0]) | char32_t(p[1]) << 8 | char32_t(p[2]) << 16 | char32_t(p[3]) << 24;
    case Encoding::Utf32BE:
        return char32_t(p[0]) << 24 | char32_t(p[1]) << 16 | char32_t(p[2]) << 8 | char32_t(p[3]);
    }
    return 0;
}

enum class Bytes { Ascii, Utf8, Other };

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
// Checked before decoding so a line that turns out to be Windows-1252 is
// decoded once, not twice, and plain ASCII takes the quickest way in.
Bytes classify(const uchar* p, qsizetype n)
{
    bool ascii = true;
    qsizetype i = 0;
    while (i < n) {
        // Runs of ASCII, the bulk of any list, sixteen bytes at a time.
        if (n - i >= 16) {
            quint64 words[2];
            std::memcpy(words, p + i, 16);
            if (((words[0] | words[1]) & 0x8080808080808080ULL) == 0) {
                i += 16;
                continue;
            }
        }
        const uchar lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        ascii = false;
        int extra = 0;
        char32_t cp = 0;
        char32_t least = 0;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1, cp = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, cp = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, cp = lead & 0x07, least = 0x10000;
        } else {
            return Bytes::Other;
        }
        if (n - i <= extra)
            return Bytes::Other;
        for (int k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return Bytes::Other;
            cp = cp << 6 | (p[i + k] & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return Bytes::Other;
        i += extra + 1;
    }
    return ascii ? Bytes::Ascii : Bytes::Utf8;
}

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

// UTF-16 keeps its code units as they are, lone surrogates included; a byte
// left over at the end of the file becomes a replacement character.
QString decodeUtf16(const uchar* p, qsizetype n, Encoding e)
{
    const qsizetype units = n / 2;
    QString text(units + n % 2, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < units; ++i)
        out[i] = QChar(static_cast<char16_t>(unitAt(p + 2 * i, e)));
    if (n % 2)
        out[units] = QChar::ReplacementCharacter;
    return text;
}

// UTF-32 values that are no character (surrogates, above U+10FFFF) and an
// incomplete last unit become replacement characters.
QString decodeUtf32(const uchar* p, qsizetype n, Encoding e)
{
    QString text;
    text.reserve(n / 4 + 1);
    for (qsizetype i = 0; i + 4 <= n; i += 4) {
        const char32_t cp = unitAt(p + i, e);
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            text.append(QChar::ReplacementCharacter);
        else if (QChar::requiresSurrogates(cp))
            text.append(QChar(QChar::highSurrogate(cp))).append(QChar(QChar::lowSurrogate(cp)));
        else
            text.append(QChar(static_cast<char16_t>(cp)));
    }
    if (n % 4)
        text.append(QChar::ReplacementCharacter);
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

// The bytes of a file after its byte-order mark, in the encoding it names.
struct Text {
    const uchar* data;
    qsizetype size;
    Encoding encoding;
    qsizetype unit;

    char32_t at(qsizetype i) const { return unitAt(data + i, encoding); }
    // Where the line that begins at `from` ends: its terminator, or `size`.
    qsizetype lineEnd(qsizetype from) const
    {
        if (encoding == Encoding::EightBit)
            return findBreak(data + from, data + size) - data;
        for (qsizetype i = from; i + unit <= size; i += unit) {
            if (at(i) == u'\r' || at(i) == u'\n')
                return i;
        }
        return size;
    }
};

Text withoutMark(QByteArrayView bytes)
{
    const auto* data = reinterpret_cast<const uchar*>(bytes.data());
    for (const ByteOrderMark& mark : kMarks) {
        if (bytes.startsWith(mark.bytes))
            return {data + mark.bytes.size(), bytes.size() - mark.bytes.size(), mark.encoding,
                    unitSize(mark.encoding)};
    }
    return {data, bytes.size(), Encoding::EightBit, 1};
}

QString decodeLine(const uchar* p, qsizetype n, Encoding encoding, bool& windows1252)
{
    windows1252 = false;
    switch (encoding) {
    case Encoding::EightBit:
        switch (classify(p, n)) {
        case Bytes::Ascii:
            return QString::fromLatin1(reinterpret_cast<const char*>(p), n);
        case Bytes::Utf8:
            // A byte-order mark inside the file is a character like any other.
            return QStringDecoder(QStringConverter::Utf8,
                                  QStringConverter::Flag::Stateless |
                                      QStringConverter::Flag::ConvertInitialBom)
                .decode(QByteArrayView(p, n));
        case Bytes::Other:
            windows1252 = true;
            return decodeCp1252(p, n);
        }
        return {};
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        return decodeUtf16(p, n, encoding);
    case Encoding::Utf32LE:
    case Encoding::Utf32BE:
        return decodeUtf32(p, n, encoding);
    }
    return {};
}

// Splits the bytes of a file into entries, at most `maxLines` of them. When
// the bytes are not the whole file (a limit or a failed read cut them short),
// their last line without a terminator is no entry: it may be half a line.
WordListRead split(QByteArrayView bytes, bool whole, const WordListLimits& limits)
{
    const Text text = withoutMark(bytes);
    WordListRead result;
    result.encoding = QLatin1String(encodingName(text.encoding));
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
            next += text.unit;
            line.end = text.at(end) == u'\n' ? WordListLine::End::Lf : WordListLine::End::Cr;
            if (line.end == WordListLine::End::Cr && next + text.unit <= text.size &&
                text.at(next) == u'\n') {
                next += text.unit;
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

WordListRead ReadWordListFile(const QString& fullPath, int maxLines)
{
    WordListLimits limits;
    limits.maxLines = maxLines;
    return ReadWordListFile(fullPath, limits);
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
