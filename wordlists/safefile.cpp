#include "safefile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString OpenRegularFile(QFile& file, const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    int fd = -1;
    do
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return qt_error_string(errno);

    struct stat info {};
    QString reason;
    if (::fstat(fd, &info) != 0)
        reason = qt_error_string(errno);
    else if (S_ISDIR(info.st_mode))
        reason = QStringLiteral("it is a folder, not a file");
    else if (!S_ISREG(info.st_mode))
        reason = QStringLiteral("it is not a regular file");
    // Reads of a regular file never wait anyway; clearing the flag keeps any
    // file system that honours it from handing back short "try again" reads.
    else if (const int flags = ::fcntl(fd, F_GETFL);
             flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        reason = qt_error_string(errno);
    else if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered,
                        QFileDevice::AutoCloseHandle))
        reason = file.errorString();
    else
        return {};
    ::close(fd);
    return reason;
}
