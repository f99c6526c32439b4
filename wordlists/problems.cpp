#include "problems.h"

#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace Problems {
namespace {
int g_depth = 0;
QStringList g_lines;

Notifier& notifier()
{
    static Notifier n = ShowMessageBox;
    return n;
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

void Record(const QString& fullPath, const QString& reason)
{
    const QString line = fullPath + QStringLiteral(": ") + reason;
    std::fprintf(stderr, "%s: %s\n", qPrintable(programName()), qPrintable(line));
    std::fflush(stderr);
    g_lines.append(line);
}

QStringList Pending()
{
    return g_lines;
}

void SetNotifier(Notifier n)
{
    notifier() = n ? std::move(n) : Notifier(ShowMessageBox);
}

QString Message(const QStringList& lines)
{
    const QString head = lines.size() == 1
                             ? QStringLiteral("Quillmere could not read this word list:")
                             : QStringLiteral("Quillmere could not read these word lists:");
    return head + QStringLiteral("\n\n") + lines.join(QLatin1Char('\n'));
}

void ShowMessageBox(QWidget* parent, const QString& message)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quillmere"), message, QMessageBox::Ok,
                    parent);
    box.exec();
}

Scope::Scope(QWidget* parent, When when) : m_parent(parent), m_when(when)
{
    if (g_depth++ == 0)
        g_lines.clear();
}

Scope::~Scope()
{
    if (--g_depth != 0 || g_lines.isEmpty())
        return;
    const QString message = Message(g_lines);
    g_lines.clear();
    if (m_when == When::Now) {
        notifier()(m_parent, message);
        return;
    }
    QPointer<QWidget> parent = m_parent;
    QTimer::singleShot(0, [parent, message] { notifier()(parent.data(), message); });
}

} // namespace Problems
