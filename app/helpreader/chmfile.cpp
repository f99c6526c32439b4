#include "chmfile.h"

#include <QStringDecoder>
#include <QtEndian>
#include <cerrno>
#include <chm_lib.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Entries of the #SYSTEM object that the help compiler writes from the
// project's [OPTIONS].
enum SystemCode : quint16 {
    kContentsFile = 0,
    kDefaultTopic = 2,
    kTitle = 3,
};

// A title is one line of a window caption; a damaged file may hold anything.
constexpr qsizetype kMaxTitleChars = 200;

QString textOfEntry(const QByteArray& data)
{
    const qsizetype end = data.indexOf('\0');
    const QByteArray bytes = end < 0 ? data : data.left(end);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QString objectPath(const QString& name)
{
    const QString path = name.startsWith(QLatin1Char('/')) ? name : QLatin1Char('/') + name;
    return IsHelpObjectPath(path) ? path : QString();
}

QString title(const QString& text)
{
    QString clean;
    for (const QChar c : text)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7f)
            clean.append(c);
    clean = clean.left(kMaxTitleChars);
    if (!clean.isEmpty() && clean.back().isHighSurrogate())
        clean.chop(1);
    return clean;
}

struct Collected {
    HelpManual* manual;
    qint64 total = 0;
    HelpFailure failure = HelpFailure::None;
};

std::optional<QByteArray> retrieve(chmFile* handle, chmUnitInfo* ui)
{
    if (ui->length > static_cast<LONGUINT64>(kMaxHelpObjectBytes))
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(ui->length), Qt::Uninitialized);
    const LONGINT64 got =
        chm_retrieve_object(handle, ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                            static_cast<LONGINT64>(ui->length));
    if (got != static_cast<LONGINT64>(ui->length))
        return std::nullopt;
    return bytes;
}

int collectObject(chmFile* handle, chmUnitInfo* ui, void* context)
{
    auto& collected = *static_cast<Collected*>(context);
    HelpManual& manual = *collected.manual;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString path = utf8.decode(QByteArrayView(ui->path, qstrnlen(ui->path, CHM_MAX_PATHLEN)));
    // A name no page could link to is not worth sending.
    if (utf8.hasError() || path.endsWith(QLatin1Char('/')) || !IsHelpObjectPath(path) ||
        manual.objects.contains(path) || manual.oversized.contains(path))
        return CHM_ENUMERATOR_CONTINUE;
    if (manual.objects.size() + manual.oversized.size() >= kMaxHelpObjects) {
        collected.failure = HelpFailure::TooLarge;
        return CHM_ENUMERATOR_SUCCESS;
    }
    if (ui->length > static_cast<LONGUINT64>(kMaxHelpObjectBytes)) {
        manual.oversized.insert(
            path, static_cast<qint64>(qMin(
                      ui->length, static_cast<LONGUINT64>(std::numeric_limits<qint64>::max()))));
        return CHM_ENUMERATOR_CONTINUE;
    }
    collected.total += static_cast<qint64>(ui->length);
    if (collected.total > kMaxHelpTotalBytes) {
        collected.failure = HelpFailure::TooLarge;
        return CHM_ENUMERATOR_SUCCESS;
    }
    std::optional<QByteArray> bytes = retrieve(handle, ui);
    if (!bytes) {
        collected.failure = HelpFailure::Damaged;
        return CHM_ENUMERATOR_SUCCESS;
    }
    manual.objects.insert(path, std::move(*bytes));
    return CHM_ENUMERATOR_CONTINUE;
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
}

HelpFailure ChmFile::open(const QByteArray& path8bit)
{
    close();
    // Open first, without blocking, and look at what was opened: a file
    // swapped for a named pipe after a look at its name would leave chmlib
    // waiting for a writer forever.
    const int fd = ::open(path8bit.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        switch (errno) {
        case ENOENT:
        case ENOTDIR:
        case ELOOP:
        case ENAMETOOLONG:
            return HelpFailure::NoSuchFile;
        case EISDIR:
            return HelpFailure::Folder;
        default:
            return HelpFailure::Unreadable;
        }
    }
    struct stat info {};
    HelpFailure failure = HelpFailure::None;
    if (fstat(fd, &info) != 0)
        failure = HelpFailure::Unreadable;
    else if (S_ISDIR(info.st_mode))
        failure = HelpFailure::Folder;
    else if (!S_ISREG(info.st_mode))
        failure = HelpFailure::NotRegular;
    if (failure == HelpFailure::None) {
        // chmlib opens by name; through /proc it opens the very file checked
        // above, whatever has been put at the path since.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        m_handle = chm_open(::access(self.constData(), R_OK) == 0 ? self.constData()
                                                                  : path8bit.constData());
        if (!m_handle)
            failure = HelpFailure::NotCompiledHelp;
    }
    ::close(fd);
    return failure;
}

std::optional<QByteArray> ChmFile::read(const QByteArray& path) const
{
    chmUnitInfo ui;
    if (!m_handle || chm_resolve_object(m_handle, path.constData(), &ui) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    return retrieve(m_handle, &ui);
}

void ChmFile::readSystem(HelpManual& manual) const
{
    // #SYSTEM: a 32-bit version, then records of a 16-bit code, a 16-bit
    // length and that many bytes.
    const std::optional<QByteArray> system = read("/#SYSTEM");
    if (!system)
        return;
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
            manual.contentsFile = objectPath(textOfEntry(data));
        else if (code == kDefaultTopic)
            manual.defaultTopic = objectPath(textOfEntry(data));
        else if (code == kTitle)
            manual.title = title(textOfEntry(data));
    }
}

HelpReply ChmFile::readManual() const
{
    HelpManual manual;
    readSystem(manual);
    Collected collected{&manual};
    if (chm_enumerate(m_handle, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectObject,
                      &collected) == 0 &&
        collected.failure == HelpFailure::None)
        collected.failure = HelpFailure::Damaged;
    if (collected.failure != HelpFailure::None)
        return HelpReply{collected.failure, {}};
    // A default topic that is not inside the file is as good as none.
    if (!manual.objects.contains(manual.defaultTopic) &&
        !manual.oversized.contains(manual.defaultTopic))
        return HelpReply{HelpFailure::NoPages, {}};
    return HelpReply{HelpFailure::None, std::move(manual)};
}
