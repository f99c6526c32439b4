#include "namemodel.h"

#include <algorithm>
#include <map>

namespace {

constexpr int kOrder = 3; // letters of context
// How often a letter follows only the last two letters rather than three: a
// little freedom lets the chain spell names the list does not hold, without
// losing the list's sound.
constexpr float kLooser = 0.15f;
constexpr char32_t kEdge = 0;                // before the first letter and after the last
constexpr int kMaxLetters = 64;              // no walk runs longer than this
constexpr quint64 kShort = quint64(1) << 63; // marks a context of two letters

std::u32string letters(const QString& name)
{
    const QList<uint> ucs4 = name.toUcs4();
    return std::u32string(ucs4.cbegin(), ucs4.cend());
}

bool isVowel(QChar c)
{
    const QChar base = c.decomposition().isEmpty() ? c : c.decomposition().at(0);
    return QStringLiteral("aeiouyAEIOUY").contains(base);
}

// The runs of four or more consonants in `name`, in lower case.
QStringList ConsonantRuns(const QString& name)
{
    QStringList runs;
    QString run;
    for (const QChar c : name + QLatin1Char(' ')) {
        if (c.isLetter() && !isVowel(c)) {
            run += c.toLower();
            continue;
        }
        if (run.size() >= 4)
            runs << run;
        run.clear();
    }
    return runs;
}

} // namespace

quint64 NameModel::key(const std::u32string& context)
{
    quint64 k = 0;
    for (const char32_t c : context)
        k = k * 0x110000u + c;
    return k;
}

NameModel::NameModel(const QStringList& names, const QStringList& avoid)
{
    for (const QString& name : avoid)
        m_avoid.insert(name.toCaseFolded());
    m_sortedAvoid = m_avoid.values();
    m_sortedAvoid.sort();
    std::unordered_map<quint64, std::map<char32_t, int>> counts;
    for (const QString& name : names) {
        if (name.isEmpty())
            continue;
        m_shortest = m_shortest ? qMin(m_shortest, name.size()) : name.size();
        m_longest = qMax(m_longest, name.size());
        for (const QString& run : ConsonantRuns(name))
            m_runs.insert(run);
        const std::u32string text = std::u32string(kOrder, kEdge) + letters(name) + kEdge;
        for (size_t i = kOrder; i < text.size(); ++i) {
            ++counts[key(text.substr(i - kOrder, kOrder))][text[i]];
            ++counts[key(text.substr(i - kOrder + 1, kOrder - 1)) | kShort][text[i]];
        }
    }
    for (const auto& [context, next] : counts) {
        Next& table = m_next[context];
        int sum = 0;
        for (const auto& [letter, count] : next) {
            table.letters.push_back(letter);
            table.upTo.push_back(float(sum += count));
        }
        for (float& upTo : table.upTo)
            upTo /= float(sum);
        table.upTo.back() = 1.0f;
    }
}

QString NameModel::walk(const std::function<float()>& draw) const
{
    std::u32string text(kOrder, kEdge);
    while (text.size() < size_t(kOrder + kMaxLetters)) {
        const bool looser = draw() < kLooser;
        const auto found = m_next.find(looser ? key(text.substr(text.size() - kOrder + 1)) | kShort
                                              : key(text.substr(text.size() - kOrder)));
        if (found == m_next.end())
            return {};
        const Next& next = found->second;
        const float r = draw();
        const auto at = std::upper_bound(next.upTo.begin(), next.upTo.end(), r);
        const char32_t letter = next.letters[size_t(at - next.upTo.begin())];
        if (letter == kEdge)
            return QString::fromUcs4(text.data() + kOrder, qsizetype(text.size()) - kOrder);
        text += letter;
    }
    return {};
}

bool NameModel::passes(const QString& name) const
{
    if (name.size() < m_shortest || name.size() > m_longest)
        return false;
    const QString folded = name.toCaseFolded();
    const auto after = std::lower_bound(m_sortedAvoid.cbegin(), m_sortedAvoid.cend(), folded);
    if (after != m_sortedAvoid.cend() && after->startsWith(folded))
        return false;
    for (const QString& run : ConsonantRuns(name))
        if (!m_runs.contains(run))
            return false;
    static const QStringList crude{"shit",  "fuck", "cunt", "piss", "wank", "twat", "slut",
                                   "whore", "nigg", "rape", "arse", "dick", "cock", "tits"};
    return std::none_of(crude.cbegin(), crude.cend(),
                        [&](const QString& word) { return folded.contains(word); });
}

QString NameModel::invent(const std::function<float()>& draw) const
{
    for (int i = 0; i < kTries && !m_next.empty(); ++i)
        if (const QString name = walk(draw); !name.isEmpty() && passes(name))
            return name;
    return {};
}

bool NameModel::canMake(const QString& name) const
{
    const std::u32string text = std::u32string(kOrder, kEdge) + letters(name) + kEdge;
    auto follows = [&](quint64 context, char32_t letter) {
        const auto found = m_next.find(context);
        return found != m_next.end() &&
               std::find(found->second.letters.begin(), found->second.letters.end(), letter) !=
                   found->second.letters.end();
    };
    for (size_t i = kOrder; i < text.size(); ++i)
        if (!follows(key(text.substr(i - kOrder + 1, kOrder - 1)) | kShort, text[i]))
            return false;
    return !name.isEmpty() && passes(name);
}
