#include "chmfile.h"

#include "safefile.h"

#include <QFile>
#include <chm_lib.h>

namespace {

// A damaged file may claim any number of pages; a manual has dozens.
constexpr qsizetype kMaxPages = 10000;

int collectPage(chmFile*, chmUnitInfo* ui, void* context)
{
    auto& pages = *static_cast<QStringList*>(context);
    const QString path = QString::fromUtf8(ui->path, qstrnlen(ui->path, CHM_MAX_PATHLEN));
    if (path.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) ||
        path.endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
        pages.append(path);
    return pages.size() < kMaxPages ? CHM_ENUMERATOR_CONTINUE : CHM_ENUMERATOR_SUCCESS;
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
    m_info = {};
}

QString ChmFile::open(const QString& path)
{
    close();
    QFile file;
    if (QString reason = OpenRegularFile(file, path); !reason.isEmpty()) {
        // It ends a sentence: "... the help file "x": no such file or directory."
        reason[0] = reason[0].toLower();
        return reason;
    }
    // chmlib opens by name: through /proc it opens the very file checked
    // above, whatever has been put at the path since.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(file.handle());
    m_handle = chm_open(self.constData());
    if (!m_handle)
        return QStringLiteral("it is not a compiled HTML help file");
    m_info = ParseSystemObject(read(QStringLiteral("/#SYSTEM")).value_or(QByteArray()));
    return {};
}

std::optional<QByteArray> ChmFile::read(const QString& objectPath) const
{
    chmUnitInfo ui;
    if (!m_handle ||
        chm_resolve_object(m_handle, objectPath.toUtf8().constData(), &ui) != CHM_RESOLVE_SUCCESS ||
        ui.length > static_cast<LONGUINT64>(kMaxHelpObjectBytes))
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(ui.length), Qt::Uninitialized);
    const LONGINT64 got =
        chm_retrieve_object(m_handle, &ui, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                            static_cast<LONGINT64>(ui.length));
    if (got != static_cast<LONGINT64>(ui.length))
        return std::nullopt;
    return bytes;
}

QStringList ChmFile::pages() const
{
    QStringList pages;
    if (m_handle)
        chm_enumerate(m_handle, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collectPage, &pages);
    return pages;
}
