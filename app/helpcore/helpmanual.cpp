#include "helpmanual.h"

#include <QSet>
#include <QStringDecoder>
#include <QtEndian>

namespace {

constexpr QByteArrayView kMagic("QMHELP1\n");
constexpr QByteArrayView kFail("FAIL");
constexpr QByteArrayView kTitle("TITL");
constexpr QByteArrayView kHome("HOME");
constexpr QByteArrayView kContents("TOCF");
constexpr QByteArrayView kObject("OBJ ");
constexpr QByteArrayView kBig("BIG ");
constexpr QByteArrayView kEnd("END ");

template <typename T> void appendLittleEndian(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

void appendFrame(QByteArray& out, QByteArrayView tag, QByteArrayView payload)
{
    out.append(tag);
    appendLittleEndian<quint32>(out, static_cast<quint32>(payload.size()));
    out.append(payload);
}

QByteArray pathPayload(const QString& path, QByteArrayView rest)
{
    const QByteArray utf8 = path.toUtf8();
    QByteArray payload;
    appendLittleEndian<quint16>(payload, static_cast<quint16>(utf8.size()));
    payload.append(utf8);
    payload.append(rest);
    return payload;
}

// Strict UTF-8: a reply that is not is not one the reader wrote.
std::optional<QString> utf8Text(QByteArrayView bytes, qsizetype maxBytes)
{
    if (bytes.size() > maxBytes)
        return std::nullopt;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return std::nullopt;
    return text;
}

std::optional<QString> objectPath(QByteArrayView bytes)
{
    std::optional<QString> path = utf8Text(bytes, kMaxHelpPathBytes);
    if (!path || !path->startsWith(QLatin1Char('/')))
        return std::nullopt;
    return path;
}

// A path-led payload: the path and what follows it.
std::optional<std::pair<QString, QByteArrayView>> splitPathPayload(QByteArrayView payload)
{
    if (payload.size() < 2)
        return std::nullopt;
    const auto length = qFromLittleEndian<quint16>(payload.data());
    if (payload.size() - 2 < length)
        return std::nullopt;
    std::optional<QString> path = objectPath(payload.sliced(2, length));
    if (!path)
        return std::nullopt;
    return std::pair{*path, payload.sliced(2 + length)};
}

HelpReply failed(HelpFailure failure)
{
    return HelpReply{failure, {}};
}

} // namespace

QString HelpFailureReason(HelpFailure failure)
{
    switch (failure) {
    case HelpFailure::NoSuchFile:
        return QStringLiteral("there is no such file");
    case HelpFailure::Folder:
        return QStringLiteral("it is a folder, not a file");
    case HelpFailure::NotRegular:
        return QStringLiteral("it is not a regular file");
    case HelpFailure::Unreadable:
        return QStringLiteral("it cannot be read");
    case HelpFailure::NotCompiledHelp:
        return QStringLiteral("it is not a compiled HTML help file");
    case HelpFailure::NoPages:
        return QStringLiteral("it holds no pages to show");
    case HelpFailure::TooLarge:
        return QStringLiteral("it holds more than %1 MiB of pages and pictures, more than any "
                              "manual needs")
            .arg(kMaxHelpTotalBytes / (1024 * 1024));
    case HelpFailure::None:
    case HelpFailure::Damaged:
        break;
    }
    return {};
}

bool IsHelpObjectPath(const QString& path)
{
    return objectPath(path.toUtf8()).has_value();
}

QByteArray EncodeHelpReply(const HelpReply& reply)
{
    QByteArray out(kMagic.data(), kMagic.size());
    if (reply.failure != HelpFailure::None) {
        const char code = static_cast<char>(reply.failure);
        appendFrame(out, kFail, QByteArrayView(&code, 1));
        return out;
    }
    const HelpManual& manual = reply.manual;
    if (!manual.title.isEmpty())
        appendFrame(out, kTitle, manual.title.toUtf8());
    if (!manual.defaultTopic.isEmpty())
        appendFrame(out, kHome, manual.defaultTopic.toUtf8());
    if (!manual.contentsFile.isEmpty())
        appendFrame(out, kContents, manual.contentsFile.toUtf8());
    for (auto it = manual.objects.cbegin(); it != manual.objects.cend(); ++it)
        appendFrame(out, kObject, pathPayload(it.key(), it.value()));
    for (auto it = manual.oversized.cbegin(); it != manual.oversized.cend(); ++it) {
        QByteArray size;
        appendLittleEndian<quint64>(size, static_cast<quint64>(it.value()));
        appendFrame(out, kBig, pathPayload(it.key(), size));
    }
    QByteArray count;
    appendLittleEndian<quint32>(
        count, static_cast<quint32>(manual.objects.size() + manual.oversized.size()));
    appendFrame(out, kEnd, count);
    return out;
}

HelpReply ParseHelpReply(QByteArrayView bytes)
{
    const HelpReply damaged = failed(HelpFailure::Damaged);
    if (bytes.size() > kMaxHelpReplyBytes || !bytes.startsWith(kMagic))
        return damaged;
    HelpManual manual;
    QSet<QByteArrayView> seenTags;
    qint64 totalBytes = 0;
    qsizetype pos = kMagic.size();
    bool ended = false;
    bool first = true;
    while (pos < bytes.size()) {
        if (ended || bytes.size() - pos < 8)
            return damaged;
        const QByteArrayView tag = bytes.sliced(pos, 4);
        const quint32 length = qFromLittleEndian<quint32>(bytes.data() + pos + 4);
        pos += 8;
        if (length > static_cast<quint64>(bytes.size() - pos))
            return damaged;
        const QByteArrayView payload = bytes.sliced(pos, length);
        pos += length;

        if (tag == kFail) {
            // A failure stands alone; its code must be one the viewer knows.
            if (!first || pos != bytes.size() || payload.size() != 1)
                return damaged;
            const auto code = static_cast<quint8>(payload[0]);
            if (code == 0 || code > kLastHelpFailure)
                return damaged;
            return failed(static_cast<HelpFailure>(code));
        }
        first = false;
        if (tag == kTitle || tag == kHome || tag == kContents) {
            if (seenTags.contains(tag))
                return damaged;
            seenTags.insert(tag);
            const std::optional<QString> text =
                tag == kTitle ? utf8Text(payload, kMaxHelpTitleBytes) : objectPath(payload);
            if (!text)
                return damaged;
            (tag == kTitle  ? manual.title
             : tag == kHome ? manual.defaultTopic
                            : manual.contentsFile) = *text;
        } else if (tag == kObject || tag == kBig) {
            const auto split = splitPathPayload(payload);
            if (!split || manual.objects.size() + manual.oversized.size() >= kMaxHelpObjects)
                return damaged;
            const auto& [path, rest] = *split;
            if (manual.objects.contains(path) || manual.oversized.contains(path))
                return damaged;
            if (tag == kObject) {
                totalBytes += rest.size();
                if (rest.size() > kMaxHelpObjectBytes || totalBytes > kMaxHelpTotalBytes)
                    return damaged;
                manual.objects.insert(path, rest.toByteArray());
            } else {
                if (rest.size() != 8)
                    return damaged;
                const auto size = qFromLittleEndian<quint64>(rest.data());
                if (size <= static_cast<quint64>(kMaxHelpObjectBytes) ||
                    size > static_cast<quint64>(std::numeric_limits<qint64>::max()))
                    return damaged;
                manual.oversized.insert(path, static_cast<qint64>(size));
            }
        } else if (tag == kEnd) {
            if (payload.size() != 4 ||
                qFromLittleEndian<quint32>(payload.data()) !=
                    static_cast<quint32>(manual.objects.size() + manual.oversized.size()))
                return damaged;
            ended = true;
        } else {
            return damaged;
        }
    }
    if (!ended)
        return damaged;
    if (!manual.objects.contains(manual.defaultTopic) &&
        !manual.oversized.contains(manual.defaultTopic))
        return failed(HelpFailure::NoPages);
    return HelpReply{HelpFailure::None, std::move(manual)};
}
