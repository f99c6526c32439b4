#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <initializer_list>
#include <vector>

class QWidget;

// A stand-in for the executable's directory: a temporary folder that tests
// fill with the word lists they need. The program looks there while it lives.
class TempExeDir {
public:
    TempExeDir();
    ~TempExeDir();
    QString path() const { return m_dir.path(); }
    // `relativePath` in the program's own form, e.g. "\data\nouns-ect.quillmere".
    QString write(const QString& relativePath, const QByteArray& bytes) const;
    QString write(const QString& relativePath, const QStringList& lines) const;
    QString full(const QString& relativePath) const;

private:
    QTemporaryDir m_dir;
};

// Points the program at the source tree, whose data/ holds the shipped lists.
class ShippedExeDir {
public:
    ShippedExeDir();
    ~ShippedExeDir();
};
QString SourceDir();
// The lines of a shipped word list, read independently of the program's reader.
QStringList ShippedLines(const QString& relativePath);

// Replaces the random source with known draws for as long as it lives.
class ScriptedDraws {
public:
    ScriptedDraws(std::initializer_list<float> draws);
    explicit ScriptedDraws(std::vector<float> draws);
    ~ScriptedDraws();
    int used() const { return m_next; }
    // True when the code under test asked for more draws than were given.
    bool overrun() const { return m_overrun; }

private:
    std::vector<float> m_draws;
    int m_next = 0;
    bool m_overrun = false;
};

// Catches the problem messages that would otherwise open a box.
class ProblemCatcher {
public:
    ProblemCatcher();
    ~ProblemCatcher();
    QStringList messages;
};

// Arranges for the next application-modal box to be handed to `answer`
// (which should close it) as soon as it appears. Gives up after `timeoutMs`.
void AnswerNextModal(std::function<void(QWidget*)> answer, int timeoutMs = 5000);

// The largest single-precision value below 1.
inline constexpr float kLargestBelowOne = 0x1.fffffep-1f;
