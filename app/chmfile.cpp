#include "chmfile.h"

#include "paths.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTextDocumentFragment>
#include <QtEndian>
#include <chm_lib.h>

namespace {

// No page or picture of a help file comes near this; a larger length means
// a damaged file, which must not make the viewer try to allocate it.
constexpr LONGUINT64 kMaxObjectBytes = 64 * 1024 * 1024;

// Entries of the #SYSTEM object that the help compiler writes from the
// project's [OPTIONS].
enum SystemCode : quint16 {
    kContentsFile = 0,
    kDefaultTopic = 2,
    kTitle = 3,
};

QString absoluteObjectPath(const QString& path)
{
    return path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path;
}

QString textOfEntry(const QByteArray& data)
{
    const qsizetype end = data.indexOf('\0');
    const QByteArray bytes = end < 0 ? data : data.left(end);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

} // namespace

ChmFile::~ChmFile()
{
    close();
}

void ChmFile::close()
{
    if (m_handle)
        chm_close(m_handle);
    m_handle = nullptr;
    m_title.clear();
    m_defaultTopic.clear();
    m_contentsFile.clear();
}

bool ChmFile::open(const QByteArray& path8bit)
{
    close();
    m_error.clear();
    // chmlib would block on a named pipe and cannot say why it failed, so
    // the common reasons are told apart before it is asked.
    const QString path = QString::fromLocal8Bit(path8bit);
    const QFileInfo info(path);
    if (path8bit.isEmpty() || !info.exists())
        m_error = QStringLiteral("there is no such file");
    else if (const QString reason = NotARegularFileReason(path); !reason.isEmpty())
        m_error = reason;
    else if (!info.isReadable())
        m_error = QStringLiteral("it cannot be read");
    if (!m_error.isEmpty())
        return false;

    m_handle = chm_open(path8bit.constData());
    if (!m_handle) {
        m_error = QStringLiteral("it is not a compiled HTML help file");
        return false;
    }
    readSystem();
    if (m_defaultTopic.isEmpty()) {
        // Damaged beyond its header: nothing inside can be shown.
        close();
        m_error = QStringLiteral("it holds no pages to show");
        return false;
    }
    return true;
}

void ChmFile::readSystem()
{
    // #SYSTEM: a 32-bit version, then records of a 16-bit code, a 16-bit
    // length and that many bytes.
    if (const std::optional<QByteArray> system = read(QStringLiteral("/#SYSTEM"))) {
        const QByteArray& bytes = *system;
        qsizetype pos = 4;
        while (pos + 4 <= bytes.size()) {
            const auto code = qFromLittleEndian<quint16>(bytes.constData() + pos);
            const auto length = qFromLittleEndian<quint16>(bytes.constData() + pos + 2);
            pos += 4;
            if (pos + length > bytes.size())
                break;
            const QByteArray data = bytes.mid(pos, length);
            pos += length;
            if (code == kContentsFile)
                m_contentsFile = absoluteObjectPath(textOfEntry(data));
            else if (code == kDefaultTopic)
                m_defaultTopic = absoluteObjectPath(textOfEntry(data));
            else if (code == kTitle)
                m_title = textOfEntry(data);
        }
    }
    // A default topic that is not inside the file is as good as none.
    if (!contains(m_defaultTopic))
        m_defaultTopic.clear();
}

bool ChmFile::contains(const QString& path) const
{
    chmUnitInfo ui;
    return m_handle &&
           chm_resolve_object(m_handle, path.toUtf8().constData(), &ui) == CHM_RESOLVE_SUCCESS;
}

std::optional<QByteArray> ChmFile::read(const QString& path) const
{
    if (!m_handle)
        return std::nullopt;
    chmUnitInfo ui;
    if (chm_resolve_object(m_handle, path.toUtf8().constData(), &ui) != CHM_RESOLVE_SUCCESS ||
        ui.length > kMaxObjectBytes)
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(ui.length), Qt::Uninitialized);
    const LONGINT64 got =
        chm_retrieve_object(m_handle, &ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                            static_cast<LONGINT64>(ui.length));
    if (got != static_cast<LONGINT64>(ui.length))
        return std::nullopt;
    return bytes;
}

QString DecodeHelpText(const QByteArray& bytes)
{
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    return decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
}

QList<HelpTopic> ParseContents(const QString& sitemap)
{
    static const QRegularExpression tag(
        QStringLiteral(R"re(<\s*(/?)\s*(ul|object|param)\b([^>]*)>)re"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression attribute(
        QStringLiteral(R"re(([\w-]+)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s"'>]+)))re"));

    auto attributes = [](const QString& text) {
        QList<std::pair<QString, QString>> found;
        for (const QRegularExpressionMatch& m : attribute.globalMatch(text)) {
            QString value = m.captured(2);
            if (value.isEmpty())
                value = m.captured(3);
            if (value.isEmpty())
                value = m.captured(4);
            // Values may carry entities such as &amp;.
            found.append(
                {m.captured(1).toLower(), QTextDocumentFragment::fromHtml(value).toPlainText()});
        }
        return found;
    };

    QList<HelpTopic> topics;
    int depth = -1; // before the first <ul>
    bool inEntry = false;
    HelpTopic entry;
    for (const QRegularExpressionMatch& m : tag.globalMatch(sitemap)) {
        const bool closing = !m.captured(1).isEmpty();
        const QString name = m.captured(2).toLower();
        if (name == QLatin1String("ul")) {
            depth += closing ? -1 : 1;
        } else if (name == QLatin1String("object") && !closing) {
            bool sitemapEntry = false;
            for (const auto& [key, value] : attributes(m.captured(3)))
                sitemapEntry = sitemapEntry || (key == QLatin1String("type") &&
                                                value.compare(QLatin1String("text/sitemap"),
                                                              Qt::CaseInsensitive) == 0);
            inEntry = sitemapEntry;
            entry = HelpTopic{{}, {}, qMax(depth, 0)};
        } else if (name == QLatin1String("object")) {
            if (inEntry && !entry.name.isEmpty())
                topics.append(entry);
            inEntry = false;
        } else if (inEntry) {
            QString key;
            QString value;
            for (const auto& [k, v] : attributes(m.captured(3))) {
                if (k == QLatin1String("name"))
                    key = v.toLower();
                else if (k == QLatin1String("value"))
                    value = v;
            }
            if (key == QLatin1String("name") && entry.name.isEmpty())
                entry.name = value;
            else if (key == QLatin1String("local") && entry.local.isEmpty() && !value.isEmpty())
                entry.local = absoluteObjectPath(value);
        }
    }
    return topics;
}
