#include "wordlistfile.h"

#include "paths.h"

#include <QFile>
#include <QStringDecoder>
#include <array>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The five codes it
// leaves undefined map to the C1 controls, as Windows itself does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeCp1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

} // namespace

QString DecodeWordListBytes(const QByteArray& bytes)
{
    // The decoder drops one leading byte-order mark by itself.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? decodeCp1252(bytes) : text;
}

QStringList SplitWordListLines(const QString& text)
{
    QStringList lines;
    const qsizetype n = text.size();
    const QChar* data = text.constData();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(QString(data + start, i - start));
        if (c == u'\r' && i + 1 < n && data[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(QString(data + start, n - start));
    return lines;
}

WordListRead ReadWordListFile(const QString& fullPath, int maxLines)
{
    WordListRead result;
    result.error = NotARegularFileReason(fullPath);
    if (!result.error.isEmpty())
        return result;
    QFile file(fullPath);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    QByteArray bytes = file.read(kMaxWordListFileBytes);
    const bool readFailed = file.error() != QFileDevice::NoError;
    const QString readError = file.errorString();
    const bool tooBig = !readFailed && !file.atEnd();
    file.close();

    if (tooBig) {
        // Cut at the last complete line so no entry is half a line.
        const qsizetype lastBreak = std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
        bytes.truncate(lastBreak < 0 ? 0 : lastBreak + 1);
    }
    result.lines = SplitWordListLines(DecodeWordListBytes(bytes));
    if (result.lines.size() > maxLines) {
        result.lines.resize(std::max(0, maxLines));
        result.truncated = true;
    }
    if (readFailed) {
        result.error = readError;
    } else if (tooBig) {
        result.truncated = true;
        result.error =
            QStringLiteral("the file is larger than %1 MiB; only its first lines were read")
                .arg(kMaxWordListFileBytes / (1024 * 1024));
    } else if (result.truncated) {
        result.error =
            QStringLiteral("a list holds at most %1 entries; the lines beyond were not added")
                .arg(kMaxWordListEntries);
    }
    return result;
}
