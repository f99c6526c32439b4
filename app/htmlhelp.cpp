#include "htmlhelp.h"

#include "paths.h"
#include "problems.h"

#include <QEvent>
#include <QWidget>

namespace {

// How long the viewer may take to start listening, and, once it listens,
// to answer. A page that keeps Qt's layout busy longer than that will not
// come back by itself.
constexpr int kStartMs = 10000;
constexpr int kAnswerMs = 2000;

} // namespace

HelpViewerLink* HtmlHelp(QWidget* caller, const QByteArray& path8bit, int command, quintptr data)
{
    if (!caller || command != HH_DISPLAY_TOPIC || data != 0)
        return nullptr;
    // One viewer per window, going when the window goes.
    QWidget* owner = caller->window();
    auto* link = owner->findChild<HelpViewerLink*>(QString(), Qt::FindDirectChildrenOnly);
    if (!link)
        link = new HelpViewerLink(owner);
    link->show(path8bit);
    return link;
}

HelpViewerLink::HelpViewerLink(QWidget* owner) : QObject(owner), m_owner(owner)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(&m_pinger, &QTimer::timeout, this, &HelpViewerLink::check);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &HelpViewerLink::readReports);
    connect(&m_process, &QProcess::finished, this, &HelpViewerLink::stopped);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            Problems::Tell(
                m_owner,
                QStringLiteral("The help viewer \"%1\" could not be started to show \"%2\": %3.")
                    .arg(m_process.program(), m_path, m_process.errorString()));
    });
    owner->installEventFilter(this);
}

HelpViewerLink::~HelpViewerLink()
{
    end();
}

void HelpViewerLink::show(const QByteArray& path8bit)
{
    const QString path = QString::fromLocal8Bit(path8bit);
    if (isRunning() && path != m_path)
        end();
    m_path = path;
    if (isRunning())
        m_process.write("show\n");
    else
        start();
}

void HelpViewerLink::start()
{
    m_ending = false;
    m_listening = false;
    m_process.start(ExecutableDir() + QStringLiteral("/quillmere-help"),
                    {m_path, QStringLiteral("--owner"), QString::number(m_owner->winId())});
    m_sinceAnswer.start();
    m_pinger.start(500);
}

void HelpViewerLink::end()
{
    m_pinger.stop();
    if (!isRunning())
        return;
    m_ending = true;
    // A killed process is gone at once; waiting only collects it.
    m_process.kill();
    m_process.waitForFinished(1000);
}

bool HelpViewerLink::eventFilter(QObject* watched, QEvent* event)
{
    // The help belongs to its window: closing the window closes the help.
    if (watched == m_owner && event->type() == QEvent::Close)
        end();
    return QObject::eventFilter(watched, event);
}

void HelpViewerLink::readReports()
{
    m_sinceAnswer.restart();
    while (m_process.canReadLine()) {
        const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
        m_listening = m_listening || line == QLatin1String("ready");
        emit reported(line);
    }
}

void HelpViewerLink::check()
{
    if (!isRunning())
        return m_pinger.stop();
    if (m_sinceAnswer.elapsed() > (m_listening ? kAnswerMs : kStartMs)) {
        end();
        return Problems::Tell(
            m_owner, QStringLiteral("The help viewer stopped answering while showing \"%1\", so "
                                    "Quillmere closed it.")
                         .arg(m_path));
    }
    if (m_listening)
        m_process.write("ping\n");
}

void HelpViewerLink::stopped(int exitCode, QProcess::ExitStatus status)
{
    m_pinger.stop();
    // Closing the help window ends the viewer normally; anything else that
    // Quillmere did not ask for is worth a word.
    if (!m_ending && (status == QProcess::CrashExit || exitCode != 0))
        Problems::Tell(
            m_owner,
            QStringLiteral("The help viewer closed unexpectedly while showing \"%1\"; the file "
                           "may be damaged.")
                .arg(m_path));
}
