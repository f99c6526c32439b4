#pragma once

#include "helpmanual.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

class QProcess;
class QTimer;

// The reader runs beside the program's real file, symlinks resolved, as
// quillmere-helpreader. Tests run from elsewhere and name the build's copy;
// an empty text restores the real place.
QString HelpReaderPath();
void SetHelpReaderForTesting(const QString& path);

// A reader that has not answered within this time is stopped, and its file
// taken for damaged: the shipped manual is read in a small fraction of it.
inline constexpr int kHelpReaderTimeLimitMs = 5000;

// What became of one request to read a help file: the manual, or the one
// sentence that says why there is none.
struct HelpLoad {
    std::shared_ptr<const HelpManual> manual;
    QString message;
};

// Reads a help file through the reader process without ever waiting for it:
// the answer comes as the signal `finished`. Whatever the reader does (crash,
// hang, exit with an error, say something malformed or too much) ends in a
// sentence naming the file, never in a wait longer than the time limit.
class HelpLoader : public QObject {
    Q_OBJECT
public:
    explicit HelpLoader(QObject* parent = nullptr);
    ~HelpLoader() override;

    // Starts reading the file named by `path8bit`, a path in the locale's
    // 8-bit encoding. A read still running is abandoned and never reported.
    void load(const QByteArray& path8bit);
    void cancel();
    bool isLoading() const { return m_process != nullptr; }

signals:
    void finished(const HelpLoad& result);

private:
    void readOutput();
    void processFinished(int exitCode, int exitStatus);
    void fail(const QString& message);
    void finish(HelpLoad result);

    QProcess* m_process = nullptr;
    QTimer* m_timer = nullptr;
    QByteArray m_reply;
    QString m_path;
};
