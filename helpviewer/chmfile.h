#pragma once

#include "helpformat.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

struct chmFile;

// No page, picture or style sheet of a manual comes near this; a larger
// object is not read at all.
inline constexpr qint64 kMaxHelpObjectBytes = 4 * 1024 * 1024;

// A compiled HTML help file, read through chmlib. Only the help viewer
// process uses it: chmlib may crash or hang on a damaged file, and must not
// take the program's own windows with it.
class ChmFile {
public:
    ChmFile() = default;
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // Opens `path`, closing whatever was open: empty on success, otherwise
    // the reason in words a user can act on. Anything but a regular file is
    // refused without waiting on it.
    QString open(const QString& path);
    void close();

    const HelpFileInfo& info() const { return m_info; }
    // The object at `objectPath` ("/index.html"), or nothing when the file
    // holds none there, or one too large or unreadable.
    std::optional<QByteArray> read(const QString& objectPath) const;
    // The paths of every page in the file.
    QStringList pages() const;

private:
    chmFile* m_handle = nullptr;
    HelpFileInfo m_info;
};
