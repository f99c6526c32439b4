#include "generate.h"

#include "filters.h"
#include "invent.h"
#include "nationalities.h"
#include "npcstats.h"
#include "problems.h"
#include "random.h"
#include "results.h"
#include "twoword.h"
#include "unique.h"
#include "wordlist.h"
#include "writer.h"

#include <QSet>
#include <cstdio>
#include <memory>
#include <numeric>
#include <optional>

namespace {

using Command = BatchOptions::Command;

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

// With --match over more pairs than this, pairs are drawn and tried rather
// than all tried first, and a run gives up after so many tries in a row:
// about a second's work either way.
constexpr qint64 kListed = 1000000;
constexpr qint64 kMaxTries = 400000;

// Tells that nothing passes the filters and gives the exit status.
int nothingPasses()
{
    return TellFailure(QStringLiteral("no result the word lists can give passes the filters"));
}

// A pick among n things: one draw, as the window picks, while one draw can
// reach them all; two draws beyond 2^24.
qint64 pickAmong(qint64 n)
{
    if (n <= 16777216)
        return PickIndexFor(static_cast<int>(n), RandomSource::Draw());
    const auto high = static_cast<quint64>(RandomSource::Draw() * 16777216.0f);
    const auto low = static_cast<quint64>(RandomSource::Draw() * 16777216.0f);
    const double r = double(high << 24 | low) / 281474976710656.0;
    return std::min(n - 1, static_cast<qint64>(r * double(n)));
}

// The pairs of entries a run takes its results from: every pair of the
// entries in play, or, with filters, only those whose result passes. The
// k-th is first * seconds + second, in the entries in play.
class PairSource {
public:
    PairSource(const Phrases& lists, const QList<int>& firsts, const QList<int>& seconds,
               const ResultFilter& filter)
        : m_lists(lists), m_firsts(firsts), m_seconds(seconds), m_filter(filter),
          m_count(qint64(firsts.size()) * seconds.size())
    {
        if (!filter.any())
            return;
        for (const int i : firsts)
            m_firstTexts << QString::fromUtf8(lists.first.bytes[i]);
        for (const int j : seconds)
            m_secondTexts << QString::fromUtf8(lists.second.bytes[j]);
        // With --match alone every pair is a candidate, and --match decides.
        m_check = lists.joined && filter.hasMatch();
        if (!m_check || filter.literal()) {
            m_pairs =
                std::make_unique<PairFilter>(filter, m_firstTexts, m_secondTexts, lists.joined);
            m_count = m_pairs->count();
        }
        if (m_check && m_count <= kListed) {
            const auto keep = [this](qint64 pair) {
                if (m_filter.matches(whole(pair)))
                    m_listed.push_back(pair);
            };
            if (m_pairs)
                m_pairs->forEach(keep);
            for (qint64 pair = 0; !m_pairs && pair < m_count; ++pair)
                keep(pair);
            m_count = qint64(m_listed.size());
            m_check = false;
            m_pairs.reset();
        }
    }
    qint64 count() const { return m_count; }
    // The text of the k-th pair; false when it fails --match.
    bool make(qint64 k, QByteArray& text, qsizetype& split) const
    {
        const qint64 pair = m_pairs ? m_pairs->at(k) : m_listed.empty() ? k : m_listed[k];
        if (m_check && !m_filter.matches(whole(pair)))
            return false;
        split = m_lists.make(m_firsts[pair / m_seconds.size()], m_seconds[pair % m_seconds.size()],
                             text);
        return true;
    }

private:
    QString whole(qint64 pair) const
    {
        return m_firstTexts[pair / m_seconds.size()] + u' ' +
               m_secondTexts[pair % m_seconds.size()];
    }
    const Phrases& m_lists;
    QList<int> m_firsts, m_seconds;
    const ResultFilter& m_filter;
    QStringList m_firstTexts, m_secondTexts;
    std::unique_ptr<PairFilter> m_pairs;
    std::vector<qint64> m_listed; // when not empty, the pairs that pass
    qint64 m_count;
    bool m_check = false; // pairs must still be tried against --match
};

// How many texts --unique must remember so as to print none twice: none
// when no two pairs print the same text, and none is cut short.
qint64 toRemember(const Phrases& lists, const QList<int>& firsts, const QList<int>& seconds,
                  qint64 asked)
{
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
    return cut || distinct < pairs ? std::min(asked, distinct) : 0;
}

// Without filters or --unique the pairs are drawn as the window draws them;
// with filters, among the pairs that pass, each as likely as the other.
// --unique walks every pair of different printed entries once, in a random
// order, so no pair comes twice. Where two pairs can print the same text (an
// entry with a space, a result cut short), the texts printed are remembered
// as fingerprints, and a text already printed is passed over.
int phrases(const BatchOptions& options, const Phrases& lists, ResultWriter& out)
{
    QByteArray text;
    if (!options.filters.any && !options.unique) {
        for (qint64 made = 0; made < options.count && out.ok(); ++made) {
            const PhrasePick pick = PickPhrase(lists.first.model, lists.second.model);
            const qsizetype split = lists.make(pick.first, pick.second, text);
            out.phrase(text, split);
        }
        return out.finish(options.count, options.count, {});
    }
    const auto inPlay = [&](const PrintedList& list) {
        if (options.unique)
            return list.distinct();
        QList<int> all(list.bytes.size());
        std::iota(all.begin(), all.end(), 0);
        return all;
    };
    const QList<int> firsts = inPlay(lists.first);
    const QList<int> seconds = lists.joined ? inPlay(lists.second) : QList<int>{0};
    const qint64 remembered =
        options.unique ? toRemember(lists, firsts, seconds, options.count) : 0;
    if (remembered > kMaxRemembered)
        return TellTooManyToRemember(options.count);
    const ResultFilter filter(options.filters);
    const PairSource source(lists, firsts, seconds, filter);
    if (source.count() == 0)
        return nothingPasses();
    std::optional<IndexWalk> walk;
    if (options.unique)
        walk.emplace(source.count());
    Fingerprints printed(remembered);
    qint64 made = 0, misses = 0;
    for (qint64 k = 0; made < options.count && out.ok() && (!walk || k < source.count()); ++k) {
        qsizetype split = 0;
        if (!source.make(walk ? walk->at(k) : pickAmong(source.count()), text, split)) {
            if (++misses == kMaxTries)
                break;
            continue;
        }
        misses = 0;
        if (remembered > 0 && !printed.insert(text))
            continue;
        out.phrase(text, split);
        ++made;
    }
    // Fewer than asked: --match refused too many pairs in a row, or a
    // --unique walk ran out of pairs.
    const QString why =
        misses == kMaxTries
            ? QStringLiteral("no result passed --match in %1 tries in a row%2")
                  .arg(kMaxTries)
                  .arg(walk ? QStringLiteral("; %1 were made of %2 asked for")
                                  .arg(made)
                                  .arg(options.count)
                            : QString())
            : QStringLiteral("the word lists can give only %1 different results%2; %3 were "
                             "asked for")
                  .arg(made)
                  .arg(filter.any() ? QStringLiteral(" that pass the filters") : QString())
                  .arg(options.count);
    return out.finish(made, options.count, why);
}

// Rolls and prints NPCs, their names drawn among those that pass the
// filters. With --unique each one printed is remembered as a fingerprint of
// its name and values, and one printed already is rolled again: the twelve
// values alone can differ in more than 10^16 ways, so a run always ends.
int npcs(const BatchOptions& options, const WordListModel& names, ResultWriter& out)
{
    if (options.unique && options.count > kMaxRemembered)
        return TellTooManyToRemember(options.count);
    WordListModel passing;
    if (options.filters.any) {
        const ResultFilter filter(options.filters);
        QStringList kept;
        // Filtered as printed: a lone surrogate is "?" there.
        for (const QString& name : names.entries())
            if (filter.passes(QString::fromUtf8(name.toUtf8())))
                kept << name;
        if (kept.isEmpty())
            return nothingPasses();
        passing.append(kept);
    }
    const WordListModel& drawn = options.filters.any ? passing : names;
    Fingerprints printed(options.unique ? options.count : 0);
    QByteArray name;
    QByteArray key;
    NpcValues values{};
    for (qint64 made = 0; made < options.count && out.ok();) {
        GenerateNpc(
            drawn, options.difficulty, [&](const QString& n) { name = n.toUtf8(); },
            [&](std::size_t row, int value) { values[row] = value; });
        if (options.unique) {
            key.resize(0);
            key.append(name).append(reinterpret_cast<const char*>(values.data()), sizeof values);
            if (!printed.insert(key))
                continue;
        }
        out.npc(name, values);
        ++made;
    }
    return out.finish(options.count, options.count, {});
}

} // namespace

void SeedRandomSource(const BatchOptions& options)
{
    std::uint64_t seed = 0;
    if (options.seed)
        RandomSource::Seed(seed = *options.seed);
    else
        seed = RandomSource::SeedFromClock();
    if (options.showSeed)
        std::fprintf(stderr, "quillmere-batch: seed %llu; --seed %llu makes this run again\n",
                     static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
}

int RunGenerator(const BatchOptions& options, BufferedWriter& writer)
{
    if (options.command == Command::Invent)
        return RunInvent(options, writer);
    WordListModel prim;
    WordListModel second;
    {
        Problems::Scope problems(nullptr);
        if (options.command == Command::Character)
            LoadCharacterWords(options.nationality, prim, second, options.gender);
        else if (options.command == Command::Npc)
            LoadNpcNames(prim);
        else
            LoadTwoWordLists(prim, second, kTwoWordModes[static_cast<int>(options.command)]);
        // Each problem is already on standard error, with its file and reason.
        // A list cut at its limit is used as the window uses it; a list that
        // could not be read gives no half results.
        if (Problems::AnyUnreadable())
            return 1;
    }
    SeedRandomSource(options);
    // The column of a whole result in CSV and JSON, and the title of a table.
    constexpr std::pair<const char*, const char*> kNames[] = {
        {"title", "Game titles"}, {"item", "Item names"},      {"equipment", "Equipment names"},
        {"skill", "Skill names"}, {"name", "Character names"}, {"name", "NPCs"}};
    const auto& [whole, title] = kNames[static_cast<int>(options.command)];
    if (options.command == Command::Npc) {
        QByteArrayList columns{whole};
        for (const StatRow& row : kStatRows)
            columns.append(row.key);
        ResultWriter out(writer, options.format, columns, QLatin1String(title));
        return npcs(options, prim, out);
    }
    // A name without a surname is the first name alone, with no space after it.
    const Phrases lists{PrintedList(prim), PrintedList(second),
                        options.command != Command::Character || second.count() > 0};
    const bool name = options.command == Command::Character;
    ResultWriter out(writer, options.format,
                     {whole, name ? "first_name" : "first_word", name ? "surname" : "second_word"},
                     QLatin1String(title));
    return phrases(options, lists, out);
}
