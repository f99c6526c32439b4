#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <initializer_list>
#include <vector>

class QWidget;

// A stand-in for the executable's directory, which tests fill with the word
// lists they need; the program looks there while it lives.
class TempExeDir {
public:
    TempExeDir();
    ~TempExeDir();
    QString path() const { return m_dir.path(); }
    // `relativePath` in the program's own form, e.g. "\data\nouns-ect.quillmere".
    QString full(const QString& relativePath) const;
    QString write(const QString& relativePath, const QByteArray& bytes) const;
    QString write(const QString& relativePath, const QStringList& lines) const;

private:
    QTemporaryDir m_dir;
};

// Points the program at the source tree, whose data/ holds the shipped lists.
struct ShippedExeDir {
    ShippedExeDir();
    ~ShippedExeDir();
};
QString SourceDir();
// A shipped list's lines, read independently of the program's reader.
QStringList ShippedLines(const QString& relativePath);

// Replaces the random source with known draws while it lives; a draw past
// the end of the script is counted in `used` and gives 0.
class ScriptedDraws {
public:
    ScriptedDraws(std::initializer_list<float> draws) : ScriptedDraws(std::vector<float>(draws)) {}
    explicit ScriptedDraws(std::vector<float> draws);
    ~ScriptedDraws();
    int used() const { return m_next; }
    bool overrun() const { return m_next > static_cast<int>(m_draws.size()); }

private:
    std::vector<float> m_draws;
    int m_next = 0;
};

// Catches the problem messages that would otherwise open a box.
struct ProblemCatcher {
    ProblemCatcher();
    ~ProblemCatcher();
    QStringList messages;
};

// Hands the next application-modal box to `answer` (which closes it) as soon
// as it appears; gives up after five seconds.
void AnswerNextModal(std::function<void(QWidget*)> answer);

// The largest single-precision value below 1.
inline constexpr float kLargestBelowOne = 0x1.fffffep-1f;
