#pragma once

#include "helpmanual.h"

#include <QByteArray>
#include <QString>
#include <optional>

struct chmFile;

// A compiled HTML help file, read through chmlib. Objects inside the file
// are named by absolute paths such as "/index.html" or "/images/mode1.gif".
// Only the help reader process uses it: chmlib may crash or hang on a
// damaged file, and must not take the program's windows with it.
class ChmFile {
public:
    ChmFile() = default;
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // Opens the file named by `path8bit`, a path in the locale's 8-bit
    // encoding; anything but a regular file is refused without waiting on
    // it, named pipes and devices included.
    HelpFailure open(const QByteArray& path8bit);
    void close();

    // Every page, picture and style sheet of the file, within the caps of a
    // reply, with the title, default topic and contents file it declares.
    HelpReply readManual() const;

private:
    std::optional<QByteArray> read(const QByteArray& path) const;
    void readSystem(HelpManual& manual) const;

    chmFile* m_handle = nullptr;
};
