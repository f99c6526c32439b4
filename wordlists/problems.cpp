#include "problems.h"

#include <QPointer>
#include <QTimer>
#include <cstdio>

namespace Problems {
namespace {
int g_depth = 0;
QStringList g_lines;
bool g_unreadable = false;

Notifier& defaultNotifier()
{
    static Notifier n;
    return n;
}

Notifier& overridingNotifier()
{
    static Notifier n;
    return n;
}

void notify(QObject* parent, const QString& message)
{
    const Notifier& n = overridingNotifier() ? overridingNotifier() : defaultNotifier();
    if (n)
        n(parent, message);
}
} // namespace

static QString& programName()
{
    static QString name = QStringLiteral("quillmere");
    return name;
}

void SetProgramName(const QString& name)
{
    programName() = name;
}

void Record(const QString& fullPath, const QString& reason, Kind kind)
{
    g_unreadable = g_unreadable || kind == Kind::Unreadable;
    const QString line = fullPath + QStringLiteral(": ") + reason;
    std::fprintf(stderr, "%s: %s\n", qPrintable(programName()), qPrintable(line));
    std::fflush(stderr);
    g_lines.append(line);
}

QStringList Pending()
{
    return g_lines;
}

bool AnyUnreadable()
{
    return g_unreadable;
}

void SetDefaultNotifier(Notifier n)
{
    defaultNotifier() = std::move(n);
}

void SetNotifier(Notifier n)
{
    overridingNotifier() = std::move(n);
}

void Tell(QObject* parent, const QString& sentence)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(programName()), qPrintable(sentence));
    std::fflush(stderr);
    notify(parent, sentence);
}

QString Message(const QStringList& lines)
{
    const QString head = lines.size() == 1
                             ? QStringLiteral("Quillmere could not read this word list:")
                             : QStringLiteral("Quillmere could not read these word lists:");
    return head + QStringLiteral("\n\n") + lines.join(QLatin1Char('\n'));
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
    const QString message = Message(g_lines);
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
