#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <unordered_map>
#include <vector>

// Invents names in the manner of a list of names: a chain over letters that
// learns, for every run of three letters of the list's names, which letters
// follow it and how often. A name it makes is kept only when it is none of
// the names it must avoid, its length lies within the list's own, and every
// run of four consonants in it is one the list itself spells. Nor is it a
// known name cut short ("Jone"), which reads as a misspelling, nor does it
// hold a crude word.
class NameModel {
public:
    // Walks of the chain one invent() takes at most.
    static constexpr int kTries = 200;

    // Learns from `names`; `avoid` holds every name it must not give back,
    // compared without regard to case.
    NameModel(const QStringList& names, const QStringList& avoid);

    // One invented name, drawing from `draw` (values from 0 up to 1), or the
    // empty text when no name passes after many tries or there was nothing
    // to learn from.
    QString invent(const std::function<float()>& draw) const;

    // Whether the chain can spell `name` at all; a name that passes the same
    // checks as an invented one.
    bool canMake(const QString& name) const;

private:
    struct Next {
        std::vector<char32_t> letters;
        std::vector<float> upTo; // cumulative share of each letter, the last 1
    };
    static quint64 key(const std::u32string& context);
    QString walk(const std::function<float()>& draw) const;
    bool passes(const QString& name) const;

    std::unordered_map<quint64, Next> m_next;
    QSet<QString> m_avoid;
    QStringList m_sortedAvoid; // the same, sorted, to find names it begins
    QSet<QString> m_runs;      // runs of four or more consonants the names spell
    qsizetype m_shortest = 0;
    qsizetype m_longest = 0;
};
