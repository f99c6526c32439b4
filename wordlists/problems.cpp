#include "problems.h"

#include <QPointer>
#include <QTimer>
#include <cstdio>

namespace Problems {
namespace {
int g_depth = 0;
QStringList g_lines;
bool g_unreadable = false;
QString g_programName = QStringLiteral("quillmere");
Notifier g_default;
Notifier g_overriding; // a test's own, before the default

void notify(QObject* parent, const QString& message)
{
    if (const Notifier& n = g_overriding ? g_overriding : g_default)
        n(parent, message);
}

void tellOnStandardError(const QString& line)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(g_programName), qPrintable(line));
    std::fflush(stderr);
}

// The message shown for a set of problem lines.
QString messageFor(const QStringList& lines)
{
    const QString head = lines.size() == 1
                             ? QStringLiteral("Quillmere could not read this word list:")
                             : QStringLiteral("Quillmere could not read these word lists:");
    return head + QStringLiteral("\n\n") + lines.join(QLatin1Char('\n'));
}
} // namespace

void SetProgramName(const QString& name)
{
    g_programName = name;
}

void Record(const QString& fullPath, const QString& reason, Kind kind)
{
    g_unreadable = g_unreadable || kind == Kind::Unreadable;
    const QString line = fullPath + QStringLiteral(": ") + reason;
    tellOnStandardError(line);
    g_lines.append(line);
}

bool AnyUnreadable()
{
    return g_unreadable;
}

void SetDefaultNotifier(Notifier n)
{
    g_default = std::move(n);
}

void SetNotifier(Notifier n)
{
    g_overriding = std::move(n);
}

void Tell(QObject* parent, const QString& sentence)
{
    tellOnStandardError(sentence);
    notify(parent, sentence);
}

Scope::Scope(QObject* parent, When when) : m_parent(parent), m_when(when)
{
    if (g_depth++ == 0) {
        g_lines.clear();
        g_unreadable = false;
    }
}

Scope::~Scope()
{
    if (--g_depth != 0 || g_lines.isEmpty())
        return;
    const QString message = messageFor(g_lines);
    g_lines.clear();
    g_unreadable = false;
    if (m_when == When::Now) {
        notify(m_parent, message);
        return;
    }
    QPointer<QObject> parent = m_parent;
    QTimer::singleShot(0, [parent, message] { notify(parent.data(), message); });
}

} // namespace Problems
