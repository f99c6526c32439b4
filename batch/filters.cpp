#include "filters.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <numeric>

ResultFilter::ResultFilter(const ResultFilters& filters)
    : startsWith(filters.startsWith.toCaseFolded()), endsWith(filters.endsWith.toCaseFolded()),
      contains(filters.contains.toCaseFolded()), minLength(filters.minLength),
      maxLength(filters.maxLength),
      m_match(filters.match, QRegularExpression::CaseInsensitiveOption),
      m_hasMatch(!filters.match.isEmpty()), m_any(filters.any)
{
    if (m_hasMatch)
        m_match.optimize();
}

bool ResultFilter::passes(const QString& text) const
{
    if (text.size() < minLength || text.size() > maxLength)
        return false;
    if (!startsWith.isEmpty() || !endsWith.isEmpty() || !contains.isEmpty()) {
        const QString folded = text.toCaseFolded();
        if (!folded.startsWith(startsWith) || !folded.endsWith(endsWith) ||
            !folded.contains(contains))
            return false;
    }
    return matches(text);
}

bool ResultFilter::matches(const QString& text) const
{
    return !m_hasMatch || m_match.match(text).hasMatch();
}

namespace {

// Where the spaces of a filter's text stand: a result's own space, between
// its two entries, can be any of them.
QList<qsizetype> spaces(const QString& text)
{
    QList<qsizetype> at;
    for (qsizetype k = text.indexOf(u' '); k >= 0; k = text.indexOf(u' ', k + 1))
        at << k;
    return at;
}

} // namespace

PairFilter::PairFilter(const ResultFilter& filter, const QStringList& firsts,
                       const QStringList& seconds, bool joined)
    : m_filter(filter), m_joined(joined), m_width(std::max<qsizetype>(1, seconds.size()))
{
    for (const QString& first : firsts) {
        m_firsts << (joined ? first.toCaseFolded() : first);
        m_firstLengths << first.size();
    }
    if (joined) {
        QList<qsizetype> order(seconds.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return seconds[a].size() < seconds[b].size();
        });
        for (const qsizetype j : order) {
            m_seconds << seconds[j].toCaseFolded();
            m_secondLength << seconds[j].size();
            m_secondIndex << j;
        }
        const QString& ends = filter.endsWith;
        const QString& contains = filter.contains;
        m_ends = secondsWhere([&](const QString& s) { return s.endsWith(ends); });
        m_contains = secondsWhere([&](const QString& s) { return s.contains(contains); });
        for (const qsizetype k : spaces(filter.startsWith)) {
            const QString rest = filter.startsWith.mid(k + 1);
            m_startSplits.emplace_back(
                k, secondsWhere([&](const QString& s) { return s.startsWith(rest); }));
        }
        for (const qsizetype k : spaces(ends)) {
            const QString rest = ends.mid(k + 1);
            m_endSplits.emplace_back(k, secondsWhere([&](const QString& s) { return s == rest; }));
        }
        for (const qsizetype k : spaces(contains)) {
            const QString rest = contains.mid(k + 1);
            m_containSplits.emplace_back(
                k, secondsWhere([&](const QString& s) { return s.startsWith(rest); }));
        }
    }
    m_before.assign(std::size_t(firsts.size()) + 1, 0);
    Bits bits;
    for (qsizetype i = 0; i < firsts.size(); ++i) {
        qint64 passing = 0;
        if (secondsFor(i, bits))
            for (const quint64 word : bits)
                passing += std::popcount(word);
        m_before[std::size_t(i) + 1] = m_before[std::size_t(i)] + passing;
    }
}

PairFilter::Bits PairFilter::secondsWhere(const std::function<bool(const QString&)>& test) const
{
    Bits bits((std::size_t(m_seconds.size()) + 63) / 64, 0);
    for (qsizetype at = 0; at < m_seconds.size(); ++at)
        if (test(m_seconds[at]))
            bits[std::size_t(at) / 64] |= quint64(1) << (at % 64);
    return bits;
}

// The seconds that make a passing result with first entry `first`, as bits
// over the seconds shortest first; false when there are none for certain.
bool PairFilter::secondsFor(qsizetype first, Bits& bits) const
{
    if (!m_joined) {
        bits.assign(1, 1);
        return m_filter.passes(m_firsts[first]);
    }
    const QString& text = m_firsts[first];
    const qsizetype own = m_firstLengths[first] + 1; // the entry and its space
    const auto shortest =
        std::lower_bound(m_secondLength.begin(), m_secondLength.end(), m_filter.minLength - own);
    const auto longest =
        std::upper_bound(m_secondLength.begin(), m_secondLength.end(), m_filter.maxLength - own);
    if (shortest >= longest)
        return false;
    // The seconds of the lengths that fit stand together, shortest first.
    const auto from = std::size_t(shortest - m_secondLength.begin());
    const auto to = std::size_t(longest - m_secondLength.begin());
    bits.assign((std::size_t(m_seconds.size()) + 63) / 64, 0);
    std::fill(bits.begin() + std::ptrdiff_t(from / 64),
              bits.begin() + std::ptrdiff_t((to + 63) / 64), ~quint64(0));
    bits[from / 64] &= ~quint64(0) << (from % 64);
    if (to % 64)
        bits[to / 64] &= ~quint64(0) >> (64 - to % 64);

    // The result begins with the text, or the entry and its space begin the
    // text and the second entry begins with the rest.
    if (!text.startsWith(m_filter.startsWith)) {
        const auto split = std::find_if(m_startSplits.begin(), m_startSplits.end(),
                                        [&](const auto& s) { return s.first == text.size(); });
        if (split == m_startSplits.end() || !m_filter.startsWith.startsWith(text))
            return false;
        std::transform(bits.begin(), bits.end(), split->second.begin(), bits.begin(),
                       std::bit_and<>());
    }
    // Within the second entry, or across the space: the entry ends with the
    // text's start and the second entry is, or begins with, the rest.
    const auto across = [&](const QString& part, Bits within, const auto& splits) {
        for (const auto& [k, seconds] : splits)
            if (text.endsWith(QStringView(part).left(k)))
                std::transform(within.begin(), within.end(), seconds.begin(), within.begin(),
                               std::bit_or<>());
        std::transform(bits.begin(), bits.end(), within.begin(), bits.begin(), std::bit_and<>());
    };
    if (!m_filter.endsWith.isEmpty())
        across(m_filter.endsWith, m_ends, m_endSplits);
    if (!text.contains(m_filter.contains))
        across(m_filter.contains, m_contains, m_containSplits);
    return true;
}

qint64 PairFilter::pairOf(qsizetype first, qsizetype position) const
{
    return qint64(first) * m_width + (m_joined ? m_secondIndex[position] : 0);
}

qint64 PairFilter::at(qint64 k) const
{
    const auto first =
        qsizetype(std::upper_bound(m_before.begin(), m_before.end(), k) - m_before.begin() - 1);
    Bits bits;
    secondsFor(first, bits);
    qint64 left = k - m_before[std::size_t(first)];
    for (std::size_t w = 0; w < bits.size(); ++w) {
        quint64 word = bits[w];
        if (left >= std::popcount(word)) {
            left -= std::popcount(word);
            continue;
        }
        for (; left > 0; --left)
            word &= word - 1; // drops the lowest bit
        return pairOf(first, qsizetype(w * 64) + std::countr_zero(word));
    }
    return -1; // k out of range
}

void PairFilter::forEach(const std::function<void(qint64)>& visit) const
{
    Bits bits;
    for (qsizetype first = 0; first + 1 < qsizetype(m_before.size()); ++first) {
        if (m_before[std::size_t(first) + 1] == m_before[std::size_t(first)] ||
            !secondsFor(first, bits))
            continue;
        for (std::size_t w = 0; w < bits.size(); ++w)
            for (quint64 word = bits[w]; word; word &= word - 1)
                visit(pairOf(first, qsizetype(w * 64) + std::countr_zero(word)));
    }
}
