#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QTimer>

class QWidget;

// Quillmere's stand-in for the desktop's HTML Help viewer, called the same
// way: the calling window, the help file's path as an 8-bit string in the
// locale's encoding, a command and a data word.
//
// HH_DISPLAY_TOPIC with data 0 hands the file to the viewer program
// quillmere-help beside the executable, which shows it at its default topic in a window owned by
// the caller's window, and returns at once with the link to that viewer.
// Later calls bring the same viewer to the front. Other requests, and a call
// without a caller, are not supported and return nullptr.
inline constexpr int HH_DISPLAY_TOPIC = 0;

class HelpViewerLink;
HelpViewerLink* HtmlHelp(QWidget* caller, const QByteArray& path8bit, int command, quintptr data);

// One viewer process, owned by a window: started on the first request, asked
// to show the first page again on later ones, ended when the window closes
// or goes. The window never waits on it: the viewer is asked every half
// second whether it is still there, and one that stops answering for 2 s or
// stops unasked is ended and reported in one sentence naming the file.
class HelpViewerLink : public QObject {
    Q_OBJECT
public:
    explicit HelpViewerLink(QWidget* owner);
    ~HelpViewerLink() override;

    void show(const QByteArray& path8bit);
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    qint64 processId() const { return m_process.processId(); }

signals:
    // Each line the viewer reports: "showing <address>", "problem <sentence>"...
    void reported(const QString& line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void start();
    void end();
    void readReports();
    void check();
    void stopped(int exitCode, QProcess::ExitStatus status);

    QWidget* m_owner;
    QProcess m_process;
    QTimer m_pinger;
    QElapsedTimer m_sinceAnswer;
    QString m_path;
    bool m_listening = false; // the viewer has said it is ready
    bool m_ending = false;    // we asked it to stop
};
