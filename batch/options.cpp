#include "options.h"

#include "nationalities.h"
#include "npcstats.h"

#include <algorithm>

namespace {

using Command = BatchOptions::Command;
using Format = BatchOptions::Format;

constexpr std::pair<const char*, Command> kCommands[] = {
    {"title", Command::Title}, {"item", Command::Item},           {"equipment", Command::Equipment},
    {"skill", Command::Skill}, {"character", Command::Character}, {"npc", Command::Npc},
    {"check", Command::Check},
};

// Which commands an option that takes a value applies to.
enum class Applies { Generators, All, Character, Npc };
constexpr std::pair<const char*, Applies> kValueOptions[] = {
    {"--count", Applies::Generators},      {"--seed", Applies::Generators},
    {"--format", Applies::Generators},     {"--data", Applies::All},
    {"--nationality", Applies::Character}, {"--gender", Applies::Character},
    {"--difficulty", Applies::Npc},
};

// A choice as typed on the command line (lower case) and the text the
// window shows for it, which is what the program compares.
using Choices = QList<std::pair<QString, QString>>;

Choices nationalities()
{
    Choices choices;
    for (const Nationality& n : kNationalities)
        choices.append({QLatin1String(n.key), QLatin1String(n.key)});
    return choices;
}

Choices genders()
{
    Choices choices;
    for (const char* g : {kMaleText, kFemaleText})
        choices.append({QString::fromLatin1(g).toLower(), QLatin1String(g)});
    return choices;
}

Choices difficulties()
{
    Choices choices;
    for (const Difficulty& d : kDifficulties)
        choices.append({QString::fromLatin1(d.text).toLower(), QLatin1String(d.text)});
    return choices;
}

Choices formats()
{
    return {{"text", "text"}, {"csv", "csv"}, {"json", "json"}};
}

QString names(const Choices& choices)
{
    QStringList typed;
    for (const auto& choice : choices)
        typed << choice.first;
    return typed.join(QLatin1String(", "));
}

QString commandNames()
{
    QStringList typed;
    for (const auto& command : kCommands)
        typed << QLatin1String(command.first);
    return typed.join(QLatin1String(", "));
}

UsageError error(const QString& text)
{
    return {QStringLiteral("quillmere-batch: ") + text};
}

bool allDigits(const QString& text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

std::variant<BatchOptions, UsageError> ParseBatchArguments(const QStringList& arguments)
{
    BatchOptions options;
    options.nationality = QLatin1String(kNationalities[0].key);
    options.gender = QLatin1String(kMaleText);
    options.difficulty = QLatin1String(kDifficulties[0].text);

    // First the words as given: flags, options with their values, the rest.
    QStringList positional;
    QList<std::pair<QString, QString>> values;
    bool help = false;
    bool version = false;
    bool onlyPositional = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (onlyPositional || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            positional << arg;
        } else if (arg == QLatin1String("--")) {
            onlyPositional = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            help = true;
        } else if (arg == QLatin1String("-V") || arg == QLatin1String("--version")) {
            version = true;
        } else if (arg == QLatin1String("--unique")) {
            options.unique = true;
        } else {
            QString name = arg;
            std::optional<QString> value;
            if (arg == QLatin1String("-n") ||
                (arg.startsWith(QLatin1String("-n")) && allDigits(arg.mid(2)))) {
                name = QStringLiteral("--count");
                if (arg.size() > 2)
                    value = arg.mid(2);
            } else if (const qsizetype eq = arg.indexOf(QLatin1Char('=')); eq > 0) {
                name = arg.left(eq);
                value = arg.mid(eq + 1);
            }
            if (std::none_of(std::begin(kValueOptions), std::end(kValueOptions),
                             [&](const auto& o) { return name == QLatin1String(o.first); }))
                return error(QStringLiteral("unknown option '%1'; the options are -n/--count, "
                                            "--seed, --format, --unique, --data, --nationality, "
                                            "--gender, --difficulty, --help, --version")
                                 .arg(arg));
            if (!value && i + 1 >= arguments.size())
                return error(QStringLiteral("%1 needs a value").arg(arg));
            values.append({name, value ? *value : arguments[++i]});
        }
    }
    if (help || version) {
        options.command = help ? Command::Help : Command::Version;
        return options;
    }

    if (positional.isEmpty())
        return error(QStringLiteral("no command given; the commands are %1").arg(commandNames()));
    options.commandName = positional.takeFirst();
    const auto command =
        std::find_if(std::begin(kCommands), std::end(kCommands),
                     [&](const auto& c) { return options.commandName == QLatin1String(c.first); });
    if (command == std::end(kCommands))
        return error(QStringLiteral("unknown command '%1'; the commands are %2")
                         .arg(options.commandName, commandNames()));
    options.command = command->second;
    const bool check = options.command == Command::Check;
    if (check && positional.size() == 1)
        values.append({QStringLiteral("--data"), positional.takeFirst()});
    if (!positional.isEmpty())
        return error(QStringLiteral("unexpected argument '%1'; %2 takes %3")
                         .arg(positional.first(), options.commandName,
                              check ? QStringLiteral("one folder at most")
                                    : QStringLiteral("options only")));
    if (check && options.unique)
        return error(QStringLiteral("--unique does not apply to check; it applies to title, "
                                    "item, equipment, skill, character and npc"));

    for (const auto& option : values) {
        // Plain names rather than a structured binding: clang 14 cannot capture those.
        const QString& name = option.first;
        const QString& value = option.second;
        const Applies applies =
            std::find_if(std::begin(kValueOptions), std::end(kValueOptions), [&](const auto& o) {
                return name == QLatin1String(o.first);
            })->second;
        const bool fits =
            applies == Applies::All || (applies == Applies::Generators && !check) ||
            (applies == Applies::Character && options.command == Command::Character) ||
            (applies == Applies::Npc && options.command == Command::Npc);
        if (!fits)
            return error(QStringLiteral("%1 does not apply to %2; it applies to %3")
                             .arg(name, options.commandName,
                                  applies == Applies::Character ? QStringLiteral("character")
                                  : applies == Applies::Npc
                                      ? QStringLiteral("npc")
                                      : QStringLiteral("title, item, equipment, skill, "
                                                       "character and npc")));

        if (name == QLatin1String("--count")) {
            bool ok = false;
            options.count = value.toLongLong(&ok);
            if (!ok || !allDigits(value) || options.count > kMaxCount)
                return error(QStringLiteral("--count must be a whole number from 0 to %1, not '%2'")
                                 .arg(kMaxCount)
                                 .arg(value));
        } else if (name == QLatin1String("--seed")) {
            bool ok = false;
            options.seed = value.toULongLong(&ok);
            if (!ok || !allDigits(value))
                return error(QStringLiteral("--seed must be a whole number from 0 to "
                                            "18446744073709551615, not '%1'")
                                 .arg(value));
        } else if (name == QLatin1String("--data")) {
            if (value.isEmpty())
                return error(QStringLiteral("%1 needs a folder laid out like data/")
                                 .arg(check ? QStringLiteral("check") : name));
            options.dataFolder = value;
        } else {
            const QString what = name.mid(2);
            const Choices choices = what == QLatin1String("format")        ? formats()
                                    : what == QLatin1String("nationality") ? nationalities()
                                    : what == QLatin1String("gender")      ? genders()
                                                                           : difficulties();
            const auto choice = std::find_if(choices.begin(), choices.end(),
                                             [&](const auto& c) { return c.first == value; });
            if (choice == choices.end())
                return error(QStringLiteral("unknown %1 '%2'; the choices are %3")
                                 .arg(what, value, names(choices)));
            if (what == QLatin1String("format"))
                options.format = static_cast<Format>(choice - choices.begin());
            else if (what == QLatin1String("nationality"))
                options.nationality = choice->second;
            else if (what == QLatin1String("gender"))
                options.gender = choice->second;
            else
                options.difficulty = choice->second;
        }
    }
    return options;
}

QString BatchUsage()
{
    return QStringLiteral(R"(Usage: quillmere-batch COMMAND [OPTION]...
Make up game titles, names and non-player characters by the thousand, from
the same word lists and by the same rules as the Quillmere window.

Commands:
  title              game titles, such as the "Game Title" mode gives
  item               item names ("Item Name" mode)
  equipment          equipment names ("Equipment Name" mode)
  skill              skill names ("Skill Name" mode)
  character          character names ("Character Name" mode)
  npc                non-player characters with twelve statistics
  check [FOLDER]     read every word list of FOLDER (by default the program's
                     own data folder) and report what an author would want
                     to fix; exit status 1 when something was found

Options:
  -n, --count=N          make N results, a whole number from 0 to 1000000000
                         (default 1)
      --seed=S           seed the random source with S, a whole number from 0
                         to 18446744073709551615: the same seed, options and
                         word lists give the same output on every run; without
                         it the clock seeds, as in the window
      --format=FORMAT    text (default): one result per line, as the window
                         shows it; csv: a header row, then one row per result;
                         json: one object per line
      --unique           no result repeats; when the lists cannot give N
                         different results, all they can give are printed,
                         the number is told, and the exit status is 1
      --data=FOLDER      read the word lists from FOLDER, laid out like the
                         program's data folder
      --nationality=NAME
                         for character: english (default), greek, japanese,
                         gaelic or demon
      --gender=GENDER    for character: male (default) or female
      --difficulty=LEVEL
                         for npc: easy (default), medium or hard
  -h, --help             show this help and exit
  -V, --version          show the version and exit

Exit status:
  0  the results were written, or check found nothing
  1  a word list could not be read, --unique could not be met, the output
     could not be written, or check found something
  2  the command line was wrong; nothing is written to standard output

Examples:
  quillmere-batch character --nationality gaelic --gender female -n 50
  quillmere-batch item -n 300 --format csv > loot.csv
  quillmere-batch npc --difficulty hard -n 20 --seed 7 --format json
  quillmere-batch title -n 1000 --unique --data ~/my-lists
  quillmere-batch check ~/my-lists
)");
}
