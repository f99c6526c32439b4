#pragma once

#include "options.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>
#include <functional>
#include <vector>

// The filters of one run, ready to test texts: the literal texts case-folded
// once, the regular expression compiled once.
class ResultFilter {
public:
    explicit ResultFilter(const ResultFilters& filters);

    bool any() const { return m_any; }
    bool hasMatch() const { return m_hasMatch; }
    // Whether a test other than the regular expression is given.
    bool literal() const
    {
        return !startsWith.isEmpty() || !endsWith.isEmpty() || !contains.isEmpty() ||
               minLength > 0 || maxLength < std::numeric_limits<qint64>::max();
    }
    // Every test given.
    bool passes(const QString& text) const;
    // The regular expression alone.
    bool matches(const QString& text) const;

    QString startsWith, endsWith, contains; // case-folded
    qint64 minLength, maxLength;

private:
    QRegularExpression m_match;
    bool m_hasMatch;
    bool m_any;
};

// The pairs of a first and a second entry whose result (the first, a space,
// the second; or the first alone when not joined) passes the literal tests
// of a filter: beginning, end, contents and length. They are counted exactly
// without building a result: for each first entry the tests become tests of
// the second entry alone, answered by bit sets over the second list. The
// regular expression is left to the caller, except for results of one entry,
// which are tested whole.
class PairFilter {
public:
    PairFilter(const ResultFilter& filter, const QStringList& firsts, const QStringList& seconds,
               bool joined);

    // How many pairs pass.
    qint64 count() const { return m_before.back(); }
    // The k-th pair that passes, 0 <= k < count(), in the order first entry
    // by first entry, as first * seconds + second.
    qint64 at(qint64 k) const;
    // Every pair that passes, in the same order.
    void forEach(const std::function<void(qint64)>& visit) const;

private:
    using Bits = std::vector<quint64>;
    Bits secondsWhere(const std::function<bool(const QString&)>& test) const;
    bool secondsFor(qsizetype first, Bits& bits) const;
    qint64 pairOf(qsizetype first, qsizetype position) const;

    const ResultFilter& m_filter;
    bool m_joined;
    qsizetype m_width;    // pairs per first entry
    QStringList m_firsts; // folded
    QList<qsizetype> m_firstLengths;
    QStringList m_seconds;           // folded, shortest first
    QList<qsizetype> m_secondLength; // in the same order
    QList<qsizetype> m_secondIndex;  // where each stands in the list
    Bits m_ends, m_contains;
    // For a space at k in the filter's text, the seconds that complete a
    // first entry ending with its first k letters.
    std::vector<std::pair<qsizetype, Bits>> m_startSplits, m_endSplits, m_containSplits;
    std::vector<qint64> m_before; // pairs that pass before each first entry
};
