#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString& overriddenDir()
{
    static QString dir;
    return dir;
}
} // namespace

QString ExecutableDir()
{
    if (!overriddenDir().isEmpty())
        return overriddenDir();
    // A symlink in a bin/ folder must still find data/ beside the real file.
    const QString real = QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath();
    return real.isEmpty() ? QCoreApplication::applicationDirPath() : real;
}

void SetExecutableDirForTesting(const QString& dir)
{
    overriddenDir() = dir;
}

QString NativePath(const QString& backslashPath)
{
    QString path = backslashPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::toNativeSeparators(path);
}

QString NotARegularFileReason(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("it is a folder, not a file");
    if (info.exists() && !info.isFile())
        return QStringLiteral("it is not a regular file");
    return {};
}

QString FullPath(const QString& relativePath)
{
    return NativePath(ExecutableDir() + relativePath);
}
