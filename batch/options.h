#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <limits>
#include <optional>
#include <variant>

// What one run of quillmere-batch was asked to do.
// What a result must be like to be printed: every test given must pass.
// The texts compare without regard to case.
struct ResultFilters {
    QString startsWith;
    QString endsWith;
    QString contains;
    QString match; // a regular expression; empty: none
    qint64 minLength = 0;
    qint64 maxLength = std::numeric_limits<qint64>::max();
    bool any = false;
};

struct BatchOptions {
    enum class Command {
        Title,
        Item,
        Equipment,
        Skill,
        Character,
        Npc,
        Invent,
        Check,
        Help,
        Version
    };
    enum class Format { Text, Csv, Json, Markdown, Foundry };
    enum class Part { First, Surname };

    Command command = Command::Help;
    qint64 count = 1;
    std::optional<std::uint64_t> seed;
    Format format = Format::Text;
    bool unique = false;
    bool showSeed = false;
    ResultFilters filters;
    Part part = Part::First; // for invent
    QString dataFolder;      // empty: the data folder beside the program
    QString nationality;     // a nationality key, "english" unless chosen
    QString gender;          // the gender text the window would show
    QString difficulty;      // the difficulty text the window would show
};

// Why the command line cannot be run: one line, naming what was wrong and
// what is allowed.
struct UsageError {
    QString message;
};

inline constexpr qint64 kMaxCount = 1000000000;
// A roll table is kept whole until its size is known, since the size heads
// it: markdown and foundry make at most this many rows.
inline constexpr qint64 kMaxTableRows = 100000;

std::variant<BatchOptions, UsageError> ParseBatchArguments(const QStringList& arguments);

// Tells a usage error on standard error, followed by where to read more, and
// gives the exit status of a wrong command line.
int TellUsageError(const QString& message);

// The text of --help.
QString BatchUsage();
