#include "helploader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

namespace {

QString& overriddenReader()
{
    static QString path;
    return path;
}

QString damaged(const QString& path)
{
    return QStringLiteral("The help file \"%1\" is damaged and cannot be shown.").arg(path);
}

QString unopenable(const QString& path, const QString& reason)
{
    return QStringLiteral("Could not open the help file \"%1\" because %2.").arg(path, reason);
}

} // namespace

QString HelpReaderPath()
{
    if (!overriddenReader().isEmpty())
        return overriddenReader();
    // Beside the real file, so that a symlink to the program elsewhere still
    // finds it.
    const QString real = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    const QString dir =
        real.isEmpty() ? QCoreApplication::applicationDirPath() : QFileInfo(real).path();
    return dir + QStringLiteral("/quillmere-helpreader");
}

void SetHelpReaderForTesting(const QString& path)
{
    overriddenReader() = path;
}

HelpLoader::HelpLoader(QObject* parent) : QObject(parent), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] { fail(damaged(m_path)); });
}

HelpLoader::~HelpLoader()
{
    cancel();
    // Readers stopped but not yet gone: they were sent SIGKILL, so this waits
    // for no more than their end to be noticed.
    for (QProcess* process : findChildren<QProcess*>()) {
        process->disconnect();
        process->kill();
        process->waitForFinished(1000);
    }
}

void HelpLoader::load(const QByteArray& path8bit)
{
    cancel();
    m_path = QString::fromLocal8Bit(path8bit);
    m_reply.clear();
    m_process = new QProcess(this);
    m_process->setProgram(HelpReaderPath());
    m_process->setArguments({m_path});
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice());
    // Whatever the reader leaves behind if it crashes stays out of the
    // program's own folder.
    m_process->setWorkingDirectory(QDir::rootPath());
    connect(m_process, &QProcess::readyReadStandardOutput, this, &HelpLoader::readOutput);
    connect(m_process, &QProcess::finished, this,
            [this](int code, QProcess::ExitStatus status) { processFinished(code, status); });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            fail(unopenable(m_path, QStringLiteral("its reader \"%1\" cannot be started")
                                        .arg(QDir::toNativeSeparators(HelpReaderPath()))));
    });
    m_timer->start(kHelpReaderTimeLimitMs);
    m_process->start(QIODevice::ReadOnly);
}

void HelpLoader::cancel()
{
    m_timer->stop();
    if (!m_process)
        return;
    // The reader is stopped, not waited for: it goes once it has ended.
    QProcess* process = std::exchange(m_process, nullptr);
    process->disconnect(this);
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
    } else {
        connect(process, &QProcess::finished, process, &QObject::deleteLater);
        process->kill();
    }
}

void HelpLoader::readOutput()
{
    m_reply += m_process->readAllStandardOutput();
    // More than any well-formed reply can be: stop listening at once.
    if (m_reply.size() > kMaxHelpReplyBytes)
        fail(damaged(m_path));
}

void HelpLoader::processFinished(int exitCode, int exitStatus)
{
    m_reply += m_process->readAllStandardOutput();
    if (exitStatus != QProcess::NormalExit || exitCode != 0 || m_reply.size() > kMaxHelpReplyBytes)
        return fail(damaged(m_path));
    HelpReply reply = ParseHelpReply(m_reply);
    m_reply.clear();
    switch (reply.failure) {
    case HelpFailure::None:
        return finish({std::make_shared<const HelpManual>(std::move(reply.manual)), {}});
    case HelpFailure::Damaged:
        return fail(damaged(m_path));
    default:
        return fail(unopenable(m_path, HelpFailureReason(reply.failure)));
    }
}

void HelpLoader::fail(const QString& message)
{
    finish({nullptr, message});
}

void HelpLoader::finish(HelpLoad result)
{
    cancel();
    m_reply.clear();
    emit finished(result);
}
