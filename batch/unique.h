#pragma once

#include <QByteArrayView>
#include <QList>
#include <array>

// What --unique needs to give each different result at most once, in memory
// that does not grow with the results unless it must.

// The most results a run remembers to compare new ones with: 2^25 slots of
// eight bytes, 256 MiB, hold them at three in four.
inline constexpr qint64 kMaxRemembered = 20000000;

// 64-bit fingerprints of the texts printed so far. The same text always
// gives the same fingerprint, so a text once printed is always found again
// and never printed twice. Two different texts that happen to share one
// (odds of about n^2 / 2^65 for n texts) only make the second count as
// printed already.
class Fingerprints {
public:
    // Room for `expected` without growing.
    explicit Fingerprints(qint64 expected);
    // Adds the fingerprint of `text`; false when it was there already.
    bool insert(QByteArrayView text);

private:
    void place(quint64 fingerprint);
    QList<quint64> m_slots; // 0: empty
    qint64 m_used = 0;
};

// The numbers 0 to n - 1, each once, in an order the random source chooses:
// a four-round Feistel network over the smallest even power of two that
// holds n, with each number that falls outside sent through again. Nothing
// is kept, however large n is.
class IndexWalk {
public:
    // Takes its keys from the random source.
    explicit IndexWalk(qint64 n);
    // The k-th number of the walk, 0 <= k < n.
    qint64 at(qint64 k) const;

private:
    quint64 encrypt(quint64 x) const;
    quint64 m_n;
    int m_half;
    quint64 m_mask;
    std::array<quint64, 4> m_keys;
};

// How many different texts "first, a space, second" pairs of the given
// entries (distinct, as printed) make. Entries with spaces can make two pairs
// print one text ("Iron" + "Plate Mail" and "Iron Plate" + "Mail"); those
// count once. Texts are compared by 64-bit polynomial hashes, whose rare
// collisions can only lower the count: when it equals the number of pairs,
// no two pairs print the same text.
qint64 DistinctPhrases(const QList<QByteArray>& firsts, const QList<QByteArray>& seconds);
