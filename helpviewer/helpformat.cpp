#include "helpformat.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QtEndian>
#include <optional>

namespace {

// Codes of the #SYSTEM records that the help compiler writes from the
// project's options.
enum : quint16 { kContentsFile = 0, kIndexFile = 1, kDefaultTopic = 2, kTitle = 3 };

// A title is one line of a window caption, whatever a damaged file holds.
constexpr qsizetype kMaxTitleChars = 200;

QString textOf(QByteArrayView bytes)
{
    if (const qsizetype end = bytes.indexOf('\0'); end >= 0)
        bytes = bytes.first(end);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QString objectPath(const QString& name)
{
    if (name.isEmpty())
        return {};
    return name.startsWith(QLatin1Char('/')) ? name : QLatin1Char('/') + name;
}

// The entities a help compiler writes into attribute values.
QString decodeEntities(QString text)
{
    static const QRegularExpression entity(
        QStringLiteral("&(?:#([0-9]{1,7})|#x([0-9a-f]{1,6})|(amp|lt|gt|quot|apos|nbsp));"),
        QRegularExpression::CaseInsensitiveOption);
    static const QStringList names{"amp", "lt", "gt", "quot", "apos", "nbsp"};
    QRegularExpressionMatch m;
    for (qsizetype at = 0; (at = text.indexOf(entity, at, &m)) >= 0;) {
        char32_t c = m.hasCaptured(3)   ? u"&<>\"'\u00a0"[names.indexOf(m.captured(3).toLower())]
                     : m.hasCaptured(2) ? m.captured(2).toUInt(nullptr, 16)
                                        : m.captured(1).toUInt();
        if (c == 0 || c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff))
            c = 0xfffd;
        const QString with = QString::fromUcs4(&c, 1);
        text.replace(at, m.capturedLength(), with);
        at += with.size();
    }
    return text;
}

QString attribute(const QString& attributes, const QString& name)
{
    static const QRegularExpression attr(
        QStringLiteral(R"re(([\w-]+)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s"'>]+)))re"));
    for (auto it = attr.globalMatch(attributes); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1).compare(name, Qt::CaseInsensitive) == 0)
            return decodeEntities(m.captured(2) + m.captured(3) + m.captured(4));
    }
    return {};
}

} // namespace

HelpFileInfo ParseSystemObject(const QByteArray& bytes)
{
    // A 32-bit version, then records of a 16-bit code, a 16-bit length and
    // that many bytes. A record cut short ends the walk.
    HelpFileInfo info;
    for (qsizetype pos = 4; pos + 4 <= bytes.size();) {
        const auto code = qFromLittleEndian<quint16>(bytes.constData() + pos);
        const auto length = qFromLittleEndian<quint16>(bytes.constData() + pos + 2);
        pos += 4;
        if (pos + length > bytes.size())
            break;
        const QString text = textOf(QByteArrayView(bytes).sliced(pos, length));
        pos += length;
        if (code == kContentsFile)
            info.contentsFile = objectPath(text);
        else if (code == kIndexFile)
            info.indexFile = objectPath(text);
        else if (code == kDefaultTopic)
            info.defaultTopic = objectPath(text);
        else if (code == kTitle)
            info.title = text.simplified()
                             .removeIf([](QChar c) { return !c.isPrint(); })
                             .left(kMaxTitleChars);
    }
    return info;
}

QList<HelpTopic> ParseSitemap(const QString& html)
{
    static const QRegularExpression tag(
        QStringLiteral(R"re(<\s*(/?)\s*(ul|object|param)\b([^>]*)>)re"),
        QRegularExpression::CaseInsensitiveOption);
    QList<HelpTopic> topics;
    // The depth of the entries of each open list. A list opens one level
    // below the list around it, and never more than one below the last entry,
    // so lists opened one in another with nothing between nest no deeper.
    QList<int> lists;
    std::optional<HelpTopic> open; // the object being read
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const bool end = !m.capturedView(1).isEmpty();
        const QString name = m.captured(2).toLower();
        const int depth = lists.isEmpty() ? 0 : lists.last();
        if (name == QLatin1String("ul") && !end) {
            const int last = topics.isEmpty() ? -1 : topics.last().depth;
            lists.append(lists.isEmpty() ? 0 : qMin(depth + 1, last + 1));
        } else if (name == QLatin1String("ul")) {
            if (!lists.isEmpty())
                lists.removeLast();
        } else if (name == QLatin1String("object") && !end) {
            open = HelpTopic{{}, {}, depth};
        } else if (name == QLatin1String("object") && open) {
            // Lists may open while an object is still open, so its depth
            // is held to one below the entry before when it closes.
            const int last = topics.isEmpty() ? -1 : topics.last().depth;
            open->depth = qMin(open->depth, last + 1);
            if (!open->name.isEmpty())
                topics.append(*open);
            open.reset();
        } else if (name == QLatin1String("param") && open) {
            const QString key = attribute(m.captured(3), QStringLiteral("name")).toLower();
            const QString value = attribute(m.captured(3), QStringLiteral("value"));
            if (key == QLatin1String("name") && open->name.isEmpty())
                open->name = value.simplified();
            else if (key == QLatin1String("local") && open->local.isEmpty())
                open->local = objectPath(value);
        }
    }
    return topics;
}
