#include "testsupport.h"

#include "paths.h"
#include "problems.h"
#include "random.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

TempExeDir::TempExeDir()
{
    SetExecutableDirForTesting(m_dir.path());
}

TempExeDir::~TempExeDir()
{
    SetExecutableDirForTesting({});
}

QString TempExeDir::full(const QString& relativePath) const
{
    return m_dir.path() + QString(relativePath).replace('\\', '/');
}

QString TempExeDir::write(const QString& relativePath, const QByteArray& bytes) const
{
    const QString path = full(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

QString TempExeDir::write(const QString& relativePath, const QStringList& lines) const
{
    return write(relativePath, (lines.join("\r\n") + "\r\n").toUtf8());
}

QString SourceDir()
{
    return QStringLiteral(QUILLMERE_SOURCE_DIR);
}

ShippedExeDir::ShippedExeDir()
{
    SetExecutableDirForTesting(SourceDir());
}

ShippedExeDir::~ShippedExeDir()
{
    SetExecutableDirForTesting({});
}

QStringList ShippedLines(const QString& relativePath)
{
    QFile file(SourceDir() + QString(relativePath).replace('\\', '/'));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
    lines.removeLast(); // after the last line's end
    return lines;
}

ScriptedDraws::ScriptedDraws(std::vector<float> draws) : m_draws(std::move(draws))
{
    RandomSource::SetScript([this] {
        const std::size_t next = static_cast<std::size_t>(m_next++);
        return next < m_draws.size() ? m_draws[next] : 0.0f;
    });
}

ScriptedDraws::~ScriptedDraws()
{
    RandomSource::SetScript({});
}

ProblemCatcher::ProblemCatcher()
{
    Problems::SetNotifier([this](QWidget*, const QString& message) { messages.append(message); });
}

ProblemCatcher::~ProblemCatcher()
{
    Problems::SetNotifier({});
}

void AnswerNextModal(std::function<void(QWidget*)> answer)
{
    auto* timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && clock->elapsed() < 5000)
            return;
        timer->deleteLater();
        timer->stop();
        if (modal)
            answer(modal);
    });
    timer->start(10);
}
