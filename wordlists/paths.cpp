#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString g_overriddenDir;
QString g_dataFolder;
} // namespace

QString ExecutableDir()
{
    if (!g_overriddenDir.isEmpty())
        return g_overriddenDir;
    // A symlink in a bin/ folder must still find data/ beside the real file.
    const QString real = QFileInfo(QCoreApplication::applicationFilePath()).canonicalPath();
    return real.isEmpty() ? QCoreApplication::applicationDirPath() : real;
}

void SetExecutableDirForTesting(const QString& dir)
{
    g_overriddenDir = dir;
}

QString NativePath(const QString& backslashPath)
{
    QString path = backslashPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::toNativeSeparators(path);
}

void SetDataFolder(const QString& folder)
{
    // Without its trailing separators, so paths in messages read cleanly.
    QString clean = folder;
    while (clean.size() > 1 && clean.endsWith(QLatin1Char('/')))
        clean.chop(1);
    g_dataFolder = clean;
}

QString FullPath(const QString& relativePath)
{
    static const QString data = QStringLiteral("\\data\\");
    if (!g_dataFolder.isEmpty() && relativePath.startsWith(data))
        return NativePath(g_dataFolder + relativePath.mid(data.size() - 1));
    return NativePath(ExecutableDir() + relativePath);
}
