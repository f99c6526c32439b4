#include "testsupport.h"

#include "paths.h"
#include "problems.h"
#include "random.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

TempExeDir::TempExeDir()
{
    SetExecutableDirForTesting(m_dir.path());
}

TempExeDir::~TempExeDir()
{
    SetExecutableDirForTesting(QString());
}

QString TempExeDir::full(const QString& relativePath) const
{
    QString rel = relativePath;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return m_dir.path() + rel;
}

QString TempExeDir::write(const QString& relativePath, const QByteArray& bytes) const
{
    const QString path = full(relativePath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write test file %s", qPrintable(path));
    file.write(bytes);
    return path;
}

QString TempExeDir::write(const QString& relativePath, const QStringList& lines) const
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return write(relativePath, bytes);
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
    SetExecutableDirForTesting(QString());
}

QStringList ShippedLines(const QString& relativePath)
{
    QString rel = relativePath;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QFile file(SourceDir() + rel);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

ScriptedDraws::ScriptedDraws(std::initializer_list<float> draws)
    : ScriptedDraws(std::vector<float>(draws))
{
}

ScriptedDraws::ScriptedDraws(std::vector<float> draws) : m_draws(std::move(draws))
{
    RandomSource::SetScript([this] {
        if (m_next >= static_cast<int>(m_draws.size())) {
            m_overrun = true;
            return 0.0f;
        }
        return m_draws[m_next++];
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

void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs)
{
    auto* timer = new QTimer(qApp);
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, answer, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal || clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            if (modal)
                answer(modal);
        }
    });
    timer->start(10);
}
