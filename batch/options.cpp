#include "options.h"

#include "nationalities.h"
#include "npcstats.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <tuple>

namespace {

using Command = BatchOptions::Command;
using Format = BatchOptions::Format;

// The commands as typed, in the order of BatchOptions::Command.
constexpr const char* kCommands[] = {"title",     "item", "equipment", "skill",
                                     "character", "npc",  "invent",    "check"};

constexpr unsigned bit(Command command)
{
    return 1u << static_cast<unsigned>(command);
}
constexpr unsigned kGenerators = bit(Command::Title) | bit(Command::Item) |
                                 bit(Command::Equipment) | bit(Command::Skill) |
                                 bit(Command::Character) | bit(Command::Npc) | bit(Command::Invent);
constexpr unsigned kEvery = kGenerators | bit(Command::Check);
constexpr unsigned kNames = bit(Command::Character) | bit(Command::Invent);

// Every option: its names, the name of its value (none for a switch), and
// the commands it belongs to.
struct Option {
    const char* shortName;
    const char* name;
    const char* value;
    unsigned commands;
};
constexpr Option kOptions[] = {
    {"n", "count", "N", kGenerators},
    {nullptr, "seed", "S", kGenerators},
    {nullptr, "show-seed", nullptr, kGenerators},
    {nullptr, "format", "FORMAT", kGenerators},
    {nullptr, "unique", nullptr, kGenerators},
    {nullptr, "starts-with", "TEXT", kGenerators},
    {nullptr, "ends-with", "TEXT", kGenerators},
    {nullptr, "contains", "TEXT", kGenerators},
    {nullptr, "min-length", "N", kGenerators},
    {nullptr, "max-length", "N", kGenerators},
    {nullptr, "match", "REGEX", kGenerators},
    {nullptr, "data", "FOLDER", kEvery},
    {nullptr, "nationality", "NAME", kNames},
    {nullptr, "gender", "GENDER", kNames},
    {nullptr, "part", "PART", bit(Command::Invent)},
    {nullptr, "difficulty", "LEVEL", bit(Command::Npc)},
    {"h", "help", nullptr, kEvery},
    {"V", "version", nullptr, kEvery},
};

// "-n/--count", "--seed".
QString spelled(const Option& option)
{
    const QString name = QStringLiteral("--") + QLatin1String(option.name);
    return option.shortName ? QStringLiteral("-%1/").arg(QLatin1String(option.shortName)) + name
                            : name;
}

// "title, item and npc".
QString spelledList(QStringList names)
{
    const QString last = names.takeLast();
    return names.isEmpty() ? last
                           : names.join(QLatin1String(", ")) + QStringLiteral(" and ") + last;
}

QString commandList(unsigned commands)
{
    QStringList names;
    for (unsigned i = 0; i < std::size(kCommands); ++i)
        if (commands & (1u << i))
            names << QLatin1String(kCommands[i]);
    return spelledList(names);
}

// Why the parser stopped: an option no command has, or a value missing or
// given to a switch.
QString parseFailure(const QCommandLineParser& parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty()) {
        // Qt's words, such as "Missing value after '-n'.", as a clause.
        QString text = parser.errorText();
        text[0] = text[0].toLower();
        return text.endsWith(u'.') ? text.chopped(1) : text;
    }
    QStringList all;
    for (const Option& option : kOptions)
        all << spelled(option);
    return QStringLiteral("unknown option '%1%2'; the options are %3")
        .arg(QLatin1String(unknown.first().size() == 1 ? "-" : "--"), unknown.first(),
             all.join(QLatin1String(", ")));
}

// Plain digits only: no sign, no spaces.
bool wholeNumber(const QString& text, quint64 max, quint64& number)
{
    bool ok = false;
    number = text.toULongLong(&ok);
    return ok && number <= max &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The choices of the options that take one, matched in any case, since the
// window shows some of them capitalised ("English", "Hard").
QString readChoices(const QCommandLineParser& parser, BatchOptions& options)
{
    QStringList nationalities, surnamed;
    for (const Nationality& n : kNationalities) {
        nationalities << QLatin1String(n.key);
        if (n.surnameFile)
            surnamed << QLatin1String(n.key);
    }
    QStringList difficulties;
    for (const Difficulty& d : kDifficulties)
        difficulties << QString::fromLatin1(d.text).toLower();
    const std::pair<const char*, QStringList> lists[] = {
        {"format", {"text", "csv", "json", "markdown", "foundry"}},
        {"nationality", nationalities},
        {"gender",
         {QString::fromLatin1(kMaleText).toLower(), QString::fromLatin1(kFemaleText).toLower()}},
        {"difficulty", difficulties},
        {"part", {"first", "surname"}}};
    qsizetype chosen[std::size(lists)] = {};
    for (std::size_t k = 0; k < std::size(lists); ++k) {
        const QString name = QLatin1String(lists[k].first);
        if (!parser.isSet(name))
            continue;
        const QString value = parser.value(name);
        const QStringList& choices = lists[k].second;
        chosen[k] = std::find_if(choices.begin(), choices.end(),
                                 [&](const QString& c) {
                                     return c.compare(value, Qt::CaseInsensitive) == 0;
                                 }) -
                    choices.begin();
        if (chosen[k] == choices.size())
            return QStringLiteral("unknown %1 '%2'; the choices are %3")
                .arg(name, value, choices.join(QLatin1String(", ")));
    }
    options.format = static_cast<Format>(chosen[0]);
    options.nationality = QLatin1String(kNationalities[chosen[1]].key);
    options.gender = QLatin1String(chosen[2] == 0 ? kMaleText : kFemaleText);
    options.difficulty = QLatin1String(kDifficulties[chosen[3]].text);
    options.part = static_cast<BatchOptions::Part>(chosen[4]);
    if (options.part == BatchOptions::Part::Surname && !kNationalities[chosen[1]].surnameFile)
        return QStringLiteral("%1 names have no surname; --part surname applies to %2")
            .arg(options.nationality, spelledList(surnamed));
    return {};
}

// What a result must be like. A regular expression that does not compile,
// or lengths that no text can have, are mistakes of the command line.
QString readFilters(const QCommandLineParser& parser, ResultFilters& filters)
{
    const std::pair<const char*, QString*> texts[] = {{"starts-with", &filters.startsWith},
                                                      {"ends-with", &filters.endsWith},
                                                      {"contains", &filters.contains},
                                                      {"match", &filters.match}};
    for (const auto& [name, text] : texts) {
        *text = parser.value(QLatin1String(name));
        filters.any = filters.any || parser.isSet(QLatin1String(name));
    }
    const QRegularExpression match(filters.match);
    if (!match.isValid())
        return QStringLiteral("--match '%1' is not a valid regular expression: %2 at character %3")
            .arg(filters.match, match.errorString())
            .arg(match.patternErrorOffset() + 1);
    if (filters.minLength > filters.maxLength)
        return QStringLiteral("--min-length %1 is more than --max-length %2; no text is both")
            .arg(filters.minLength)
            .arg(filters.maxLength);
    return {};
}

// The values of the options given; an empty text when all of them are good.
QString readValues(const QCommandLineParser& parser, BatchOptions& options)
{
    options.unique = parser.isSet(QStringLiteral("unique"));
    options.showSeed = parser.isSet(QStringLiteral("show-seed"));
    ResultFilters& filters = options.filters;
    const std::tuple<const char*, quint64, std::function<void(quint64)>> numbers[] = {
        {"count", kMaxCount, [&](quint64 n) { options.count = static_cast<qint64>(n); }},
        {"seed", UINT64_MAX, [&](quint64 n) { options.seed = n; }},
        {"min-length", kMaxCount, [&](quint64 n) { filters.minLength = static_cast<qint64>(n); }},
        {"max-length", kMaxCount, [&](quint64 n) { filters.maxLength = static_cast<qint64>(n); }},
    };
    for (const auto& [name, max, set] : numbers) {
        const QString value = parser.value(QLatin1String(name));
        quint64 number = 0;
        if (!parser.isSet(QLatin1String(name)))
            continue;
        if (!wholeNumber(value, max, number))
            return QStringLiteral("--%1 must be a whole number from 0 to %2, not '%3'")
                .arg(QLatin1String(name))
                .arg(max)
                .arg(value);
        set(number);
        filters.any = filters.any || QByteArrayView(name).endsWith("length");
    }
    QString wrong = readChoices(parser, options);
    if (wrong.isEmpty())
        wrong = readFilters(parser, filters);
    const bool table = options.format == Format::Markdown || options.format == Format::Foundry;
    if (wrong.isEmpty() && table && options.count > kMaxTableRows)
        wrong = QStringLiteral("--format %1 makes one table of at most %2 rows; %3 were asked for")
                    .arg(parser.value(QStringLiteral("format")).toLower())
                    .arg(kMaxTableRows)
                    .arg(options.count);
    return wrong;
}

// The command and what follows it on the line: options that belong to it,
// and for check at most one folder.
QString readCommand(const QCommandLineParser& parser, BatchOptions& options)
{
    QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return QStringLiteral("no command given; the commands are %1").arg(commandList(kEvery));
    const QString name = words.takeFirst();
    const auto* command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                       [&](const char* c) { return name == QLatin1String(c); });
    if (command == std::end(kCommands))
        return QStringLiteral("unknown command '%1'; the commands are %2")
            .arg(name, commandList(kEvery));
    options.command = static_cast<Command>(command - std::begin(kCommands));
    const bool check = options.command == Command::Check;
    if (words.size() > (check ? 1 : 0))
        return QStringLiteral("unexpected argument '%1'; %2 takes %3")
            .arg(words.last(), name,
                 check ? QStringLiteral("one folder at most") : QStringLiteral("options only"));
    for (const Option& option : kOptions) {
        if (parser.isSet(QLatin1String(option.name)) && !(option.commands & bit(options.command)))
            return QStringLiteral("%1 does not apply to %2; it applies to %3")
                .arg(spelled(option), name, commandList(option.commands));
    }
    if (check && !words.isEmpty() && words.first().isEmpty())
        return QStringLiteral("check needs a folder laid out like data/");
    options.dataFolder = words.value(0);
    return {};
}

constexpr char kUsage[] = R"(Usage: quillmere-batch COMMAND [OPTION]...
Make up game titles, names and non-player characters by the thousand, from
the same word lists and by the same rules as the Quillmere window.

Commands:
  title              game titles, such as the "Game Title" mode gives
  item               item names ("Item Name" mode)
  equipment          equipment names ("Equipment Name" mode)
  skill              skill names ("Skill Name" mode)
  character          character names ("Character Name" mode); a Gaelic or
                     Demon name, which has no surname, is the first name alone
  npc                non-player characters with twelve statistics
  invent             names that no word list holds, made up in the manner of
                     one list: the first names of --nationality and --gender,
                     or with --part surname its surnames
  check [FOLDER]     read every word list of FOLDER (by default the program's
                     own data folder) and report what an author would want
                     to fix; exit status 1 when something was found

Options:
  -n, --count=N          make N results, a whole number from 0 to 1000000000
                         (default 1); -n5 and --count 5 work too
      --seed=S           seed the random source with S, a whole number from 0
                         to 18446744073709551615: the same seed, options and
                         word lists give the same output on every run; without
                         it the clock seeds, as in the window
      --show-seed        tell the seed on standard error, so that a run the
                         clock seeded can be repeated with --seed
      --format=FORMAT    text (default): one result per line, as the window
                         shows it; csv: a header row, then one row per result,
                         each line ending in CR LF (RFC 4180); json: one
                         object per line; markdown: a dN roll table, its rows
                         numbered 1 to N; foundry: a RollTable document that
                         Foundry VTT 12 and later imports. A table holds at
                         most 100000 rows
      --unique           each different result at most once, in a random
                         order; when the lists cannot give N different
                         results, all they can give are printed, the number
                         is told, and the exit status is 1. NPCs, and titles
                         or names that two pairs of entries can make alike,
                         are remembered to be compared: at most 20000000 of
                         them in one run
      --starts-with=TEXT
                         only results that begin with TEXT
      --ends-with=TEXT   only results that end with TEXT
      --contains=TEXT    only results that hold TEXT
      --min-length=N     only results of at least N characters
      --max-length=N     only results of at most N characters
      --match=REGEX      only results in which the Perl-style regular
                         expression REGEX matches; ^ and $ anchor it to the
                         start and end of the result
      --data=FOLDER      read the word lists from FOLDER, laid out like the
                         program's data folder
      --nationality=NAME
                         for character and invent: english (default), greek,
                         japanese, gaelic or demon
      --gender=GENDER    for character and invent: male (default) or female
      --part=PART        for invent: first (default) or surname; only
                         english, greek and japanese names have surnames
      --difficulty=LEVEL
                         for npc: easy (default), medium or hard
  -h, --help             show this help and exit
  -V, --version          show the version and exit
The values of --format, --nationality, --gender, --part and --difficulty may
be written in any case: --nationality English is --nationality english.
The filters (--starts-with to --match) test the whole result, for npc the
name, without regard to case; they combine with each other, with --unique
and with -n. When no result the lists can give passes them, that is said at
once and the exit status is 1.

Exit status:
  0  the results were written, or check found nothing
  1  a word list could not be read, no result passes the filters, --unique
     could not be met, the output could not be written, or check found
     something
  2  the command line was wrong, or asked --unique to remember more than it
     can; nothing is written to standard output

Examples:
  quillmere-batch character --nationality gaelic --gender female -n 50
  quillmere-batch item -n 300 --format csv > loot.csv
  quillmere-batch npc --difficulty hard -n 20 --seed 7 --format json
  quillmere-batch title -n 1000 --unique --data ~/my-lists
  quillmere-batch invent --nationality greek --gender female -n 20 --format markdown
  quillmere-batch character --starts-with k --max-length 14 -n 12 --unique
  quillmere-batch check ~/my-lists
)";

} // namespace

std::variant<BatchOptions, UsageError> ParseBatchArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    for (const Option& option : kOptions) {
        QStringList names{QLatin1String(option.name)};
        if (option.shortName)
            names.prepend(QLatin1String(option.shortName));
        parser.addOption(option.value
                             ? QCommandLineOption(names, QString(), QLatin1String(option.value))
                             : QCommandLineOption(names));
    }
    if (!parser.parse(arguments))
        return UsageError{parseFailure(parser)};
    BatchOptions options;
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version"))) {
        options.command = parser.isSet(QStringLiteral("help")) ? Command::Help : Command::Version;
        return options;
    }
    QString wrong = readCommand(parser, options);
    if (wrong.isEmpty())
        wrong = readValues(parser, options);
    const QString data = parser.value(QStringLiteral("data"));
    if (wrong.isEmpty() && parser.isSet(QStringLiteral("data")) && data.isEmpty())
        wrong = QStringLiteral("--data needs a folder laid out like data/");
    if (!wrong.isEmpty())
        return UsageError{wrong};
    if (options.dataFolder.isEmpty()) // a folder after check comes first
        options.dataFolder = data;
    return options;
}

int TellUsageError(const QString& message)
{
    std::fprintf(stderr,
                 "quillmere-batch: %s\nTry 'quillmere-batch --help' for more information.\n",
                 qPrintable(message));
    return 2;
}

QString BatchUsage()
{
    return QString::fromUtf8(kUsage);
}
