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

const char* encodingName(Encoding e)
{
    switch (e) {
    case Encoding::EightBit:
        return "UTF-8";
    case Encoding::Utf16LE:
        return "UTF-16 LE";
    case Encoding::Utf16BE:
        return "UTF-16 BE";
    case Encoding::Utf32LE:
        return "UTF-32 LE";
    case Encoding::Utf32BE:
        return "UTF-32 BE";
    }
    return "";
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

constexpr qsizetype unitSize(Encoding e)
{
    switch (e) {
    case Encoding::EightBit:
        return 1;
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        return 2;
    case Encoding::Utf32LE:
    case Encoding::Utf32BE:
        return 4;
    }
    return 1;
}

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

// One pass over a device: bytes come in chunks, complete lines leave as
// entries, and only the line being read is held as bytes.
class ChunkedReader {
public:
    ChunkedReader(QIODevice& device, const WordListLimits& limits)
        : m_device(device), m_limits(limits)
    {
    }

    WordListRead run()
    {
        WordListRead result;
        const qsizetype maxLines = std::max(0, m_limits.maxLines);
        // Telling the byte-order marks apart takes up to four bytes.
        while (m_buffer.size() < 4 && fill()) {
        }
        for (const ByteOrderMark& mark : kMarks) {
            if (QByteArrayView(m_buffer).startsWith(mark.bytes)) {
                m_encoding = mark.encoding;
                m_start = m_scan = mark.bytes.size();
                break;
            }
        }
        result.encoding = QLatin1String(encodingName(m_encoding));
        const qsizetype unit = unitSize(m_encoding);
        const auto keep = [&](qsizetype from, qsizetype to, WordListLine::End end) {
            result.lines.append(lineAt(from, to));
            if (m_limits.layout)
                result.layout.append({end, m_windows1252});
        };
        for (;;) {
            if (result.lines.size() >= maxLines) {
                // Any byte after the last kept line starts a line beyond the limit.
                if (m_start < m_buffer.size()) {
                    result.truncated = true;
                    break;
                }
                if (fill())
                    continue;
                break;
            }
            const auto* data = reinterpret_cast<const uchar*>(m_buffer.constData());
            const qsizetype size = m_buffer.size();
            const qsizetype end = findLineEnd(data, size);
            if (end + unit > size) {
                // No terminator yet: read on, or take the rest as the last line.
                m_scan = end;
                if (fill())
                    continue;
                // A line that the byte limit or a failed read cut short is no entry.
                if (m_start < m_buffer.size() && !m_tooBig && m_readError.isEmpty())
                    keep(m_start, m_buffer.size(), WordListLine::End::None);
                break;
            }
            qsizetype next = end + unit;
            WordListLine::End kind = WordListLine::End::Lf;
            if (unitAt(data + end, m_encoding) == u'\r') {
                kind = WordListLine::End::Cr;
                if (next + unit > size && !m_end) {
                    // A CR at the end of the chunk may be the first half of CR LF.
                    m_scan = end;
                    fill();
                    continue;
                }
                if (next + unit <= size && unitAt(data + next, m_encoding) == u'\n') {
                    next += unit;
                    kind = WordListLine::End::CrLf;
                }
            }
            keep(m_start, end, kind);
            m_start = m_scan = next;
        }

        if (!m_readError.isEmpty()) {
            result.error = m_readError;
        } else if (result.truncated) {
            result.error =
                QStringLiteral("a list holds at most %1 entries; the lines beyond were not added")
                    .arg(kMaxWordListEntries);
        } else if (m_tooBig) {
            result.truncated = true;
            result.error =
                QStringLiteral("the file is larger than %1; only its first lines were read")
                    .arg(sizeText(m_limits.maxBytes));
        }
        return result;
    }

private:
    // The first terminator at or after m_scan, or where the last whole unit ends.
    qsizetype findLineEnd(const uchar* data, qsizetype size) const
    {
        if (m_encoding == Encoding::EightBit)
            return findBreak(data + m_scan, data + size) - data;
        const qsizetype unit = unitSize(m_encoding);
        qsizetype i = m_scan;
        for (; i + unit <= size; i += unit) {
            const char32_t c = unitAt(data + i, m_encoding);
            if (c == u'\r' || c == u'\n')
                return i;
        }
        return i;
    }

    // Reads one more chunk behind the current line; false once nothing more
    // will come (end of file, read error or the byte limit).
    bool fill()
    {
        if (m_end)
            return false;
        if (m_start > 0) {
            m_buffer.remove(0, m_start);
            m_scan -= m_start;
            m_start = 0;
        }
        const qint64 room = m_limits.maxBytes - m_total;
        if (room <= 0) {
            // At the limit: one byte more tells whether the file goes on.
            char probe = 0;
            const qint64 got = m_device.read(&probe, 1);
            if (got < 0)
                m_readError = m_device.errorString();
            m_tooBig = got > 0;
            m_end = true;
            return false;
        }
        const qint64 want = std::min(room, std::max<qint64>(1, m_limits.chunkBytes));
        const qsizetype old = m_buffer.size();
        m_buffer.resize(old + want);
        const qint64 got = m_device.read(m_buffer.data() + old, want);
        m_buffer.resize(old + std::max<qint64>(0, got));
        if (got <= 0) {
            if (got < 0)
                m_readError = m_device.errorString();
            m_end = true;
            return false;
        }
        m_total += got;
        return true;
    }

    // The text of the buffer's bytes [from, to).
    QString lineAt(qsizetype from, qsizetype to)
    {
        const auto* p = reinterpret_cast<const uchar*>(m_buffer.constData()) + from;
        const qsizetype n = to - from;
        m_windows1252 = false;
        switch (m_encoding) {
        case Encoding::EightBit:
            switch (classify(p, n)) {
            case Bytes::Ascii:
                return QString::fromLatin1(reinterpret_cast<const char*>(p), n);
            case Bytes::Utf8:
                // A byte-order mark inside the file is a character like any other.
                m_utf8.resetState();
                return m_utf8.decode(QByteArrayView(p, n));
            case Bytes::Other:
                m_windows1252 = true;
                return decodeCp1252(p, n);
            }
            return {};
        case Encoding::Utf16LE:
        case Encoding::Utf16BE:
            return decodeUtf16(p, n, m_encoding);
        case Encoding::Utf32LE:
        case Encoding::Utf32BE:
            return decodeUtf32(p, n, m_encoding);
        }
        return {};
    }

    QIODevice& m_device;
    const WordListLimits m_limits;
    QStringDecoder m_utf8{QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                      QStringConverter::Flag::ConvertInitialBom};
    Encoding m_encoding = Encoding::EightBit;
    QByteArray m_buffer;        // the current line and what has been read behind it
    qsizetype m_start = 0;      // where the current line begins in m_buffer
    qsizetype m_scan = 0;       // bytes of the current line before this hold no terminator
    qint64 m_total = 0;         // bytes read from the device
    bool m_end = false;         // nothing more will be read
    bool m_tooBig = false;      // the device holds more than the byte limit
    bool m_windows1252 = false; // the last line decoded was not UTF-8
    QString m_readError;
};

} // namespace

WordListRead ReadWordList(QIODevice& device, const WordListLimits& limits)
{
    return ChunkedReader(device, limits).run();
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
