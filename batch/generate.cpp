#include "generate.h"

#include "formats.h"
#include "nationalities.h"
#include "npcstats.h"
#include "problems.h"
#include "random.h"
#include "twoword.h"
#include "unique.h"
#include "wordlist.h"
#include "writer.h"

#include <QSet>
#include <cstdio>

namespace {

using Command = BatchOptions::Command;
using Format = BatchOptions::Format;

// One list as its entries print: UTF-8, where a lone surrogate becomes "?",
// and the length in characters that the result box counts. An empty list
// prints as one empty entry, which is what a pick from it reads.
struct PrintedList {
    explicit PrintedList(const WordListModel& list) : model(list)
    {
        for (int i = 0; i < std::max(1, list.count()); ++i) {
            const QString entry = list.entry(i);
            bytes.append(entry.toUtf8());
            length.append(entry.size());
        }
    }
    // Each different printed entry once, as the index of its first copy.
    QList<int> distinct() const
    {
        QSet<QByteArray> seen;
        QList<int> indexes;
        for (int i = 0; i < bytes.size(); ++i) {
            if (!seen.contains(bytes[i]))
                indexes.append(i);
            seen.insert(bytes[i]);
        }
        return indexes;
    }
    qsizetype longest(const QList<int>& indexes) const
    {
        qsizetype most = 0;
        for (const int i : indexes)
            most = std::max(most, length[i]);
        return most;
    }
    const WordListModel& model;
    QList<QByteArray> bytes;
    QList<qsizetype> length;
};

// The two lists of a phrase command and the result a pair of their entries
// prints: the first entry, a space and the second, or, for a name from a
// nationality without surnames, the first name alone; either way no longer
// than the result box holds.
struct Phrases {
    PrintedList first;
    PrintedList second;
    bool joined;
    std::array<const char*, 3> columns;

    // Puts the result of entries i and j into `text` and gives where its first
    // entry ends there.
    qsizetype make(int i, int j, QByteArray& text) const
    {
        const qsizetype own = first.length[i];
        text.resize(0);
        if (own + (joined ? 1 + second.length[j] : 0) <= kMaxResultLength) {
            text.append(first.bytes[i]);
            if (joined)
                text.append(' ').append(second.bytes[j]);
            return first.bytes[i].size();
        }
        // Cut as the box cuts it; only the part that shows is built.
        const QString shown = joined
                                  ? PhraseText(first.model, second.model, {i, j}, kMaxResultLength)
                                  : first.model.entry(i).left(kMaxResultLength);
        text = shown.toUtf8();
        return QStringView(shown).left(own).toUtf8().size();
    }
};

std::array<const char*, 3> columnsOf(Command command)
{
    constexpr const char* kWholes[] = {"title", "item", "equipment", "skill"};
    if (command == Command::Character || command == Command::Npc)
        return {"name", "first_name", "surname"};
    return {kWholes[static_cast<int>(command)], "first_word", "second_word"};
}

// One result as a line of the format: the whole, then its two parts.
void writePhrase(BufferedWriter& out, Format format, const std::array<const char*, 3>& columns,
                 QByteArrayView text, qsizetype split)
{
    const QByteArrayView parts[] = {
        text, text.first(split), split < text.size() ? text.sliced(split + 1) : QByteArrayView()};
    switch (format) {
    case Format::Text:
        out.append(text);
        out.append('\n');
        break;
    case Format::Csv:
        for (int k = 0; k < 3; ++k) {
            WriteCsvField(out, parts[k]);
            out.append(k < 2 ? QByteArrayView(",") : QByteArrayView("\r\n"));
        }
        break;
    case Format::Json:
        for (int k = 0; k < 3; ++k) {
            out.append(k == 0 ? QByteArrayView("{\"") : QByteArrayView(",\""));
            out.append(columns[k]);
            out.append(QByteArrayView("\":"));
            WriteJsonString(out, parts[k]);
        }
        out.append(QByteArrayView("}\n"));
        break;
    }
}

// A header row names the columns of a CSV file.
void writeHeader(BufferedWriter& out, Format format, const QList<QByteArray>& columns)
{
    if (format != Format::Csv)
        return;
    out.append(columns.join(',') + "\r\n");
}

// The exit status once `made` of `asked` results are out.
int finish(BufferedWriter& out, qint64 made, qint64 asked)
{
    const bool ended = out.ok() && made < asked;
    const int status = out.finish(0, "the results");
    if (status != 0 || !ended)
        return status;
    std::fprintf(stderr,
                 "quillmere-batch: the word lists can give only %lld different results; %lld "
                 "were asked for\n",
                 static_cast<long long>(made), static_cast<long long>(asked));
    return 1;
}

int tooMany(qint64 asked)
{
    return TellUsageError(
        QStringLiteral("--unique can remember at most %1 results to compare; %2 were asked for")
            .arg(kMaxRemembered)
            .arg(asked));
}

int phrases(const BatchOptions& options, const Phrases& lists, BufferedWriter& out)
{
    writeHeader(out, options.format, {lists.columns.begin(), lists.columns.end()});
    QByteArray text;
    for (qint64 made = 0; made < options.count && out.ok(); ++made) {
        const PhrasePick pick = PickPhrase(lists.first.model, lists.second.model);
        const qsizetype split = lists.make(pick.first, pick.second, text);
        writePhrase(out, options.format, lists.columns, text, split);
    }
    return out.finish(0, "the results");
}

// Walks every pair of different printed entries once, in a random order, so
// no pair comes twice. Where two pairs can print the same text (an entry
// with a space, a result cut short), the texts printed are remembered as
// fingerprints, and a text already printed is passed over.
int uniquePhrases(const BatchOptions& options, const Phrases& lists, BufferedWriter& out)
{
    const QList<int> firsts = lists.first.distinct();
    const QList<int> seconds = lists.joined ? lists.second.distinct() : QList<int>{0};
    QList<QByteArray> firstTexts, secondTexts;
    for (const int i : firsts)
        firstTexts.append(lists.first.bytes[i]);
    for (const int j : seconds)
        secondTexts.append(lists.second.bytes[j]);
    const qint64 pairs = qint64(firsts.size()) * seconds.size();
    const qint64 distinct = lists.joined ? DistinctPhrases(firstTexts, secondTexts) : pairs;
    const bool cut =
        lists.first.longest(firsts) + (lists.joined ? 1 + lists.second.longest(seconds) : 0) >
        kMaxResultLength;
    const bool remember = cut || distinct < pairs;
    if (remember && std::min(options.count, distinct) > kMaxRemembered)
        return tooMany(options.count);

    writeHeader(out, options.format, {lists.columns.begin(), lists.columns.end()});
    const IndexWalk walk(pairs);
    Fingerprints printed(remember ? std::min(options.count, distinct) : 0);
    QByteArray text;
    qint64 made = 0;
    for (qint64 k = 0; k < pairs && made < options.count && out.ok(); ++k) {
        const qint64 pair = walk.at(k);
        const qsizetype split =
            lists.make(firsts[pair / seconds.size()], seconds[pair % seconds.size()], text);
        if (remember && !printed.insert(text))
            continue;
        writePhrase(out, options.format, lists.columns, text, split);
        ++made;
    }
    return finish(out, made, options.count);
}

// The fixed text of an NPC line in a format: what comes before the name,
// before each of the twelve values, and at the end.
std::array<QByteArray, kStatRows.size() + 2> npcPieces(Format format)
{
    std::array<QByteArray, kStatRows.size() + 2> pieces;
    pieces.front() = format == Format::Text ? "Name: " : format == Format::Json ? "{\"name\":" : "";
    for (std::size_t i = 0; i < kStatRows.size(); ++i)
        pieces[i + 1] = format == Format::Text   ? QByteArray(", ") + kStatRows[i].label + ' '
                        : format == Format::Json ? QByteArray(",\"") + kStatRows[i].key + "\":"
                                                 : QByteArray(",");
    pieces.back() = format == Format::Text ? "\n" : format == Format::Json ? "}\n" : "\r\n";
    return pieces;
}

void writeNpc(BufferedWriter& out, Format format,
              const std::array<QByteArray, kStatRows.size() + 2>& pieces, QByteArrayView name,
              const std::array<int, kStatRows.size()>& values)
{
    out.append(pieces.front());
    if (format == Format::Text)
        out.append(name);
    else if (format == Format::Json)
        WriteJsonString(out, name);
    else
        WriteCsvField(out, name);
    for (std::size_t i = 0; i < kStatRows.size(); ++i) {
        out.append(pieces[i + 1]);
        WriteNumber(out, values[i]);
    }
    out.append(pieces.back());
}

// Rolls and prints NPCs. With --unique each one printed is remembered as a
// fingerprint of its name and values, and one printed already is rolled
// again: the twelve values alone can differ in more than 10^16 ways, so a
// run always ends.
int npcs(const BatchOptions& options, const WordListModel& names, BufferedWriter& out)
{
    if (options.unique && options.count > kMaxRemembered)
        return tooMany(options.count);
    QList<QByteArray> columns{"name"};
    for (const StatRow& row : kStatRows)
        columns.append(row.key);
    writeHeader(out, options.format, columns);
    const auto pieces = npcPieces(options.format);
    Fingerprints printed(options.unique ? options.count : 0);
    QByteArray name;
    QByteArray key;
    std::array<int, kStatRows.size()> values{};
    for (qint64 made = 0; made < options.count && out.ok();) {
        GenerateNpc(
            names, options.difficulty, [&](const QString& n) { name = n.toUtf8(); },
            [&](std::size_t row, int value) { values[row] = value; });
        if (options.unique) {
            key.resize(0);
            key.append(name).append(reinterpret_cast<const char*>(values.data()), sizeof values);
            if (!printed.insert(key))
                continue;
        }
        writeNpc(out, options.format, pieces, name, values);
        ++made;
    }
    return out.finish(0, "the results");
}

} // namespace

int RunGenerator(const BatchOptions& options, BufferedWriter& out)
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
        default:
            LoadNpcNames(prim);
            break;
        }
        // Each problem is already on standard error, with its file and reason.
        // A list cut at its limit is used as the window uses it; a list that
        // could not be read gives no half results.
        if (Problems::AnyUnreadable())
            return 1;
    }
    if (options.seed)
        RandomSource::Seed(*options.seed);
    else
        RandomSource::SeedFromClock();
    if (options.command == Command::Npc)
        return npcs(options, prim, out);
    // A name without a surname is the first name alone, with no space after it.
    const Phrases lists{PrintedList(prim), PrintedList(second),
                        options.command != Command::Character || second.count() > 0,
                        columnsOf(options.command)};
    return options.unique ? uniquePhrases(options, lists, out) : phrases(options, lists, out);
}
