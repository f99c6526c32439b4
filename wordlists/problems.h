#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QObject;

// Collects the files that could not be read during one user action, so the
// user gets one message naming every file and reason instead of a cascade of
// boxes. Each problem also goes to standard error as soon as it happens.
namespace Problems {

// The name that starts each line on standard error: "quillmere" unless the
// running program says otherwise.
void SetProgramName(const QString& name);

// How a file fell short: it could not be read (from its start or from some
// point on), or it was read but the lines beyond a limit were left out.
enum class Kind { Unreadable, Truncated };

// Records one problem line ("<full path>: <reason>") for the current action.
void Record(const QString& fullPath, const QString& reason, Kind kind = Kind::Unreadable);

// Whether a file recorded since the outermost open Scope began could not be
// read.
bool AnyUnreadable();

// How problems reach the user beyond standard error. A program with windows
// sets its default (a warning box); tests install their own to answer or
// inspect it, and an empty one restores the default.
using Notifier = std::function<void(QObject* parent, const QString& message)>;
void SetDefaultNotifier(Notifier notifier);
void SetNotifier(Notifier notifier);

// Tells the user one sentence at once, on standard error too: for what goes
// wrong outside any word list.
void Tell(QObject* parent, const QString& sentence);

// Marks one user action. When the outermost scope ends and problems were
// recorded, the user is told once. A deferred scope tells after control
// returns to the event loop, so start-up can show its window first.
class Scope {
public:
    enum class When { Now, Later };
    explicit Scope(QObject* parent, When when = When::Now);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    QObject* m_parent;
    When m_when;
};

} // namespace Problems
