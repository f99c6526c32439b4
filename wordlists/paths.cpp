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

namespace {
QString& dataFolder()
{
    static QString folder;
    return folder;
}
} // namespace

void SetDataFolder(const QString& folder)
{
    // Without its trailing separators, so paths in messages read cleanly.
    QString clean = folder;
    while (clean.size() > 1 && clean.endsWith(QLatin1Char('/')))
        clean.chop(1);
    dataFolder() = clean;
}

QString FullPath(const QString& relativePath)
{
    static const QString data = QStringLiteral("\\data\\");
    if (!dataFolder().isEmpty() && relativePath.startsWith(data))
        return NativePath(dataFolder() + relativePath.mid(data.size() - 1));
    return NativePath(ExecutableDir() + relativePath);
}
