#include "generate.h"

#include "nationalities.h"
#include "npcstats.h"
#include "output.h"
#include "problems.h"
#include "random.h"
#include "twoword.h"
#include "wordlist.h"

#include <QSet>
#include <cstdio>

namespace {

using Command = BatchOptions::Command;
using Format = BatchOptions::Format;

QSet<QString> distinctEntries(const WordListModel& list)
{
    QSet<QString> entries(list.entries().begin(), list.entries().end());
    if (entries.isEmpty())
        entries.insert(QString());
    return entries;
}

// One list's entries, encoded once for the chosen format so that a million
// results cost a million copies, not a million encodings.
struct Encoded {
    QList<QByteArray> plain; // UTF-8
    QList<QByteArray> text;  // UTF-8 followed by `end`, for the text format
    QList<QByteArray> json;  // escaped for a JSON string, without quotes
    QList<QByteArray> csv;   // as a CSV field of its own
    QList<qsizetype> length; // in the characters the result box counts
    QByteArray none;
    // Reading past the end gives the empty text, as the list itself does.
    const QByteArray& at(const QList<QByteArray>& list, int index) const
    {
        return index < list.size() ? list.at(index) : none;
    }
    qsizetype lengthAt(int index) const { return index < length.size() ? length.at(index) : 0; }
};

Encoded encode(const WordListModel& list, Format format, char end)
{
    Encoded e;
    for (const QString& entry : list.entries()) {
        e.plain.append(entry.toUtf8());
        if (format == Format::Text)
            e.text.append(e.plain.last() + end);
        e.length.append(entry.size());
        if (format == Format::Json)
            e.json.append(JsonString(entry).chopped(1).mid(1));
        else if (format == Format::Csv)
            e.csv.append(CsvField(entry));
    }
    return e;
}

// Column names of a phrase result: the whole, then its two parts.
std::array<const char*, 3> phraseColumns(Command command)
{
    switch (command) {
    case Command::Title:
        return {"title", "first_word", "second_word"};
    case Command::Item:
        return {"item", "first_word", "second_word"};
    case Command::Equipment:
        return {"equipment", "first_word", "second_word"};
    case Command::Skill:
        return {"skill", "first_word", "second_word"};
    default:
        return {"name", "first_name", "surname"};
    }
}

int tooFew(qint64 distinct, qint64 asked)
{
    std::fprintf(stderr,
                 "quillmere-batch: the word lists can give only %lld different results; %lld were "
                 "asked for\n",
                 static_cast<long long>(distinct), static_cast<long long>(asked));
    return 1;
}

int finish(Output& out, int status)
{
    out.flush();
    if (!out.ok() && !out.readerGone()) {
        std::fprintf(stderr, "quillmere-batch: cannot write the results: %s\n",
                     qPrintable(out.error()));
        return 1;
    }
    return status;
}

int phrases(const BatchOptions& options, const WordListModel& prim, const WordListModel& second,
            Output& out)
{
    const std::array<const char*, 3> columns = phraseColumns(options.command);
    // A text line is the first entry and its space, then the second and the
    // line end: two copies per result.
    const Encoded first = encode(prim, options.format, kPhraseSeparator);
    const Encoded last = encode(second, options.format, '\n');
    const QByteArray lonelySeparator(1, kPhraseSeparator);
    const QByteArray lonelyEnd(1, '\n');
    const qint64 available =
        options.unique ? DistinctPhrases(prim, second) : std::numeric_limits<qint64>::max();
    const qint64 wanted = std::min(options.count, available);

    if (options.format == Format::Csv)
        out.append(QByteArray(columns[0]) + ',' + columns[1] + ',' + columns[2] + "\r\n");
    const auto longest = [](const Encoded& e) {
        return e.length.isEmpty() ? 0 : *std::max_element(e.length.begin(), e.length.end());
    };
    if (options.format == Format::Text && !options.unique &&
        longest(first) + 1 + longest(last) <= kMaxResultLength) {
        // The common case, by the million: every result fits the box whole.
        for (qint64 made = 0; made < wanted && out.ok(); ++made) {
            const PhrasePick pick = PickPhrase(prim, second);
            out.append(pick.first < first.text.size() ? first.text.at(pick.first)
                                                      : lonelySeparator);
            out.append(pick.second < last.text.size() ? last.text.at(pick.second) : lonelyEnd);
        }
        return finish(out, 0);
    }
    QSet<QByteArray> seen;
    for (qint64 made = 0; made < wanted && out.ok();) {
        const PhrasePick pick = PickPhrase(prim, second);
        const QByteArray& a = first.at(first.plain, pick.first);
        const QByteArray& b = last.at(last.plain, pick.second);
        if (options.unique) {
            const QByteArray text = a + kPhraseSeparator + b;
            if (seen.contains(text))
                continue;
            seen.insert(text);
        }
        ++made;
        switch (options.format) {
        case Format::Text:
            // As the result box shows it: no more than it holds.
            if (first.lengthAt(pick.first) + 1 + last.lengthAt(pick.second) > kMaxResultLength) {
                out.append(PhraseText(prim, second, pick, kMaxResultLength).toUtf8() + '\n');
                break;
            }
            out.append(pick.first < first.text.size() ? first.text.at(pick.first)
                                                      : lonelySeparator);
            out.append(pick.second < last.text.size() ? last.text.at(pick.second) : lonelyEnd);
            break;
        case Format::Csv:
            // The whole result is one field of its own: quoted when either
            // part needs it, or when it begins or ends with a space.
            out.append(CsvField(QString::fromUtf8(a + kPhraseSeparator + b)) + ',' +
                       first.at(first.csv, pick.first) + ',' + last.at(last.csv, pick.second) +
                       "\r\n");
            break;
        case Format::Json: {
            const QByteArray& ja = first.at(first.json, pick.first);
            const QByteArray& jb = last.at(last.json, pick.second);
            out.append("{\"" + QByteArray(columns[0]) + "\":\"" + ja + kPhraseSeparator + jb +
                       "\",\"" + columns[1] + "\":\"" + ja + "\",\"" + columns[2] + "\":\"" + jb +
                       "\"}\n");
            break;
        }
        }
    }
    return finish(out, wanted < options.count && out.ok() ? tooFew(available, options.count) : 0);
}

int npcs(const BatchOptions& options, const WordListModel& names, Output& out)
{
    // Every combination of a name and twelve values counts as one result.
    double available = static_cast<double>(distinctEntries(names).size());
    for (const StatRow& row : kStatRows) {
        for (const Difficulty& level : kDifficulties) {
            if (options.difficulty == QLatin1String(level.text))
                available *= std::max(1, (row.*level.range).ceiling - (row.*level.range).floor);
        }
    }
    const qint64 wanted = options.unique && available < static_cast<double>(options.count)
                              ? static_cast<qint64>(available)
                              : options.count;

    if (options.format == Format::Csv) {
        QByteArray header = "name";
        for (const StatRow& row : kStatRows)
            header += QByteArray(",") + row.key;
        out.append(header + "\r\n");
    }
    QSet<QByteArray> seen;
    QString name;
    std::array<int, kStatRows.size()> values{};
    for (qint64 made = 0; made < wanted && out.ok();) {
        GenerateNpc(
            names, options.difficulty, [&](const QString& n) { name = n; },
            [&](std::size_t row, int value) { values[row] = value; });
        QByteArray line;
        switch (options.format) {
        case Format::Text:
            line = "Name: " + name.toUtf8();
            for (std::size_t i = 0; i < kStatRows.size(); ++i)
                line += QByteArray(", ") + kStatRows[i].label + ' ' + QByteArray::number(values[i]);
            break;
        case Format::Csv:
            line = CsvField(name);
            for (const int value : values)
                line += ',' + QByteArray::number(value);
            line += '\r';
            break;
        case Format::Json:
            line = "{\"name\":" + JsonString(name);
            for (std::size_t i = 0; i < kStatRows.size(); ++i)
                line +=
                    QByteArray(",\"") + kStatRows[i].key + "\":" + QByteArray::number(values[i]);
            line += '}';
            break;
        }
        line += '\n';
        if (options.unique) {
            if (seen.contains(line))
                continue;
            seen.insert(line);
        }
        ++made;
        out.append(line);
    }
    return finish(out, wanted < options.count && out.ok() ? tooFew(wanted, options.count) : 0);
}

} // namespace

qint64 DistinctPhrases(const WordListModel& prim, const WordListModel& second)
{
    const QSet<QString> firsts = distinctEntries(prim);
    const QSet<QString> lasts = distinctEntries(second);
    qint64 total = static_cast<qint64>(firsts.size()) * lasts.size();
    // Two pairs give one text only when one first entry is another first
    // entry, a space and the start of a second entry: "Iron Plate" = "Iron"
    // + " " + "Plate". Find each such text, then take off all but one of the
    // pairs that give it.
    const QString space{QLatin1Char(kPhraseSeparator)};
    QSet<QString> shared;
    for (const QString& longer : firsts) {
        for (qsizetype i = longer.indexOf(space); i >= 0; i = longer.indexOf(space, i + 1)) {
            if (!firsts.contains(longer.left(i)))
                continue;
            const QString rest = longer.mid(i + 1) + space;
            for (const QString& last : lasts) {
                if (lasts.contains(rest + last))
                    shared.insert(longer + space + last);
            }
        }
    }
    for (const QString& text : shared) {
        qint64 pairs = 0;
        for (qsizetype i = text.indexOf(space); i >= 0; i = text.indexOf(space, i + 1))
            pairs += firsts.contains(text.left(i)) && lasts.contains(text.mid(i + 1));
        total -= pairs - 1;
    }
    return total;
}

int RunGenerator(const BatchOptions& options, Output& out)
{
    WordListModel prim;
    WordListModel second;
    {
        Problems::Scope problems(nullptr);
        switch (options.command) {
        case Command::Title:
            LoadTitleWords(prim, second);
            break;
        case Command::Item:
            LoadItemWords(prim, second);
            break;
        case Command::Equipment:
            LoadEquipmentWords(prim, second);
            break;
        case Command::Skill:
            LoadSkillWords(prim, second);
            break;
        case Command::Character:
            LoadCharacterWords(options.nationality, prim, second, options.gender);
            break;
        case Command::Npc:
            LoadNpcNames(prim);
            break;
        default:
            return 2;
        }
        // Each problem is already on standard error, with its file and
        // reason; no half results follow it.
        if (!Problems::Pending().isEmpty())
            return 1;
    }
    if (options.seed)
        RandomSource::Seed(*options.seed);
    else
        RandomSource::SeedFromClock();
    return options.command == Command::Npc ? npcs(options, prim, out)
                                           : phrases(options, prim, second, out);
}
