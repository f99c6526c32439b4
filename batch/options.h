#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <variant>

// What one run of quillmere-batch was asked to do.
struct BatchOptions {
    enum class Command { Title, Item, Equipment, Skill, Character, Npc, Check, Help, Version };
    enum class Format { Text, Csv, Json };

    Command command = Command::Help;
    qint64 count = 1;
    std::optional<std::uint64_t> seed;
    Format format = Format::Text;
    bool unique = false;
    QString dataFolder;  // empty: the data folder beside the program
    QString nationality; // a nationality key, "english" unless chosen
    QString gender;      // the gender text the window would show
    QString difficulty;  // the difficulty text the window would show
};

// Why the command line cannot be run: one line, naming what was wrong and
// what is allowed.
struct UsageError {
    QString message;
};

inline constexpr qint64 kMaxCount = 1000000000;

std::variant<BatchOptions, UsageError> ParseBatchArguments(const QStringList& arguments);

// Tells a usage error on standard error, followed by where to read more, and
// gives the exit status of a wrong command line.
int TellUsageError(const QString& message);

// The text of --help.
QString BatchUsage();
