#pragma once
// Helpers every test shares: data folders, scripted draws, caught messages.
// Qt Core only: the helpers for windows are in guitestsupport.h.
#include "paths.h"
#include "problems.h"
#include "random.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h> // mkfifo, for the tests that plant pipes

// A stand-in for the executable's directory, filled by the test; the program
// looks there while it lives. Its name is not ASCII, as a user's may not be
// (no spaces unless told: the batch test splits its command lines at them).
// Paths are in the program's own form.
struct TempExeDir : QTemporaryDir {
    explicit TempExeDir(const QString& name = u"Quillmere-Wörter-名前"_qs)
        : QTemporaryDir(QDir::tempPath() + "/" + name + "-XXXXXX")
    {
        SetExecutableDirForTesting(path());
    }
    ~TempExeDir() { SetExecutableDirForTesting({}); }
    QString full(const QString& rel) const { return path() + QString(rel).replace('\\', '/'); }
    QString write(const QString& rel, const QByteArray& bytes) const
    {
        QFile file(full(rel));
        if (!QDir().mkpath(QFileInfo(file).absolutePath()) || !file.open(QIODevice::WriteOnly) ||
            file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }
    QString write(const QString& rel, const QStringList& lines) const
    {
        return write(rel, (lines.join("\r\n") + "\r\n").toUtf8());
    }
};

// The source tree, whose data/ holds the shipped lists; and a TempExeDir with those lists.
inline const QString kSourceDir = QStringLiteral(QUILLMERE_SOURCE_DIR);
struct ShippedExeDir : TempExeDir {
    ShippedExeDir() : TempExeDir(u"Quillmere Wörter 名前"_qs)
    {
        QFile::link(kSourceDir + "/data", path() + "/data");
    }
};
// A shipped list's lines, read independently of the program's reader.
inline QStringList ShippedLines(const QString& rel)
{
    QFile file(kSourceDir + QString(rel).replace('\\', '/'));
    QStringList lines = QString(file.open(QIODevice::ReadOnly) ? file.readAll() : "").split("\r\n");
    return lines.mid(0, lines.size() - 1); // none after the last line's end
}

// Replaces the random source with known draws while it lives; a draw past the
// script's end gives `after` (0 unless told) and still counts in `used`.
struct ScriptedDraws {
    ScriptedDraws(const QList<float>& draws, float after = 0)
    {
        RandomSource::SetScript([=, this] { return draws.value(used++, after); });
    }
    ~ScriptedDraws() { RandomSource::SetScript({}); }
    int used = 0;
};

// Catches the problem messages that would otherwise open a box.
struct ProblemCatcher {
    ProblemCatcher()
    {
        Problems::SetNotifier([this](auto, const QString& m) { messages << m; });
    }
    ~ProblemCatcher() { Problems::SetNotifier({}); }
    QStringList messages;
};

// The largest single-precision value below 1.
inline constexpr float kLargestBelowOne = 0x1.fffffep-1f;

// Tests that link the whole window program without naming what they link
// get the window helpers too.
#ifdef QUILLMERE_WINDOW_TEST
#include "guitestsupport.h"
#endif
