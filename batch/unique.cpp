#include "unique.h"

#include "random.h"

#include <QHash>
#include <QSet>
#include <bit>

Fingerprints::Fingerprints(qint64 expected)
    : m_slots(static_cast<qsizetype>(std::bit_ceil(static_cast<quint64>(expected * 4 / 3 + 16))), 0)
{
}

bool Fingerprints::insert(QByteArrayView text)
{
    const quint64 fingerprint = std::max<quint64>(1, qHash(text, size_t(0x5DEECE66DULL)));
    const quint64* table = m_slots.constData();
    const quint64 mask = static_cast<quint64>(m_slots.size()) - 1;
    for (quint64 i = fingerprint & mask; table[i] != 0; i = (i + 1) & mask) {
        if (table[i] == fingerprint)
            return false;
    }
    if (++m_used * 4 > m_slots.size() * 3) {
        QList<quint64> old(m_slots.size() * 2, 0);
        old.swap(m_slots);
        for (const quint64 kept : old)
            if (kept != 0)
                place(kept);
    }
    place(fingerprint);
    return true;
}

void Fingerprints::place(quint64 fingerprint)
{
    quint64* table = m_slots.data();
    const quint64 mask = static_cast<quint64>(m_slots.size()) - 1;
    quint64 i = fingerprint & mask;
    while (table[i] != 0)
        i = (i + 1) & mask;
    table[i] = fingerprint;
}

namespace {
quint64 mix(quint64 z)
{
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}
} // namespace

IndexWalk::IndexWalk(qint64 n) : m_n(static_cast<quint64>(std::max<qint64>(n, 1)))
{
    const int bits = std::max(2, static_cast<int>(std::bit_width(m_n - 1)));
    m_half = (bits + 1) / 2;
    m_mask = (quint64(1) << m_half) - 1;
    for (quint64& key : m_keys) {
        key = 0;
        for (int i = 0; i < 3; ++i)
            key = key << 24 | static_cast<quint64>(RandomSource::Draw() * 16777216.0f);
    }
}

quint64 IndexWalk::encrypt(quint64 x) const
{
    quint64 left = x >> m_half;
    quint64 right = x & m_mask;
    for (const quint64 key : m_keys) {
        const quint64 next = left ^ (mix(right ^ key) & m_mask);
        left = right;
        right = next;
    }
    return left << m_half | right;
}

qint64 IndexWalk::at(qint64 k) const
{
    quint64 x = static_cast<quint64>(k);
    do
        x = encrypt(x);
    while (x >= m_n);
    return static_cast<qint64>(x);
}

namespace {
// Polynomial hashes of every start of one text, so that the hash of any part
// of it costs two multiplications.
class PartHashes {
public:
    void load(QByteArrayView text)
    {
        m_text = text;
        m_prefix.resize(text.size() + 1);
        while (m_powers.size() <= text.size())
            m_powers.append(m_powers.last() * kBase);
        for (qsizetype i = 0; i < text.size(); ++i)
            m_prefix[i + 1] = m_prefix[i] * kBase + static_cast<uchar>(text[i]) + 1;
    }
    quint64 part(qsizetype from, qsizetype to) const
    {
        return m_prefix[to] - m_prefix[from] * m_powers[to - from];
    }
    quint64 whole(QByteArrayView text)
    {
        load(text);
        return part(0, text.size());
    }
    // Calls `at` with the position of each space, in order.
    template <typename At> void spaces(At at) const
    {
        for (qsizetype i = m_text.indexOf(' '); i >= 0; i = m_text.indexOf(' ', i + 1))
            at(i);
    }
    qsizetype size() const { return m_text.size(); }

private:
    static constexpr quint64 kBase = 0x9E3779B97F4A7C15ULL;
    QByteArrayView m_text;
    QList<quint64> m_prefix{0};
    QList<quint64> m_powers{1};
};
} // namespace

qint64 DistinctPhrases(const QList<QByteArray>& firsts, const QList<QByteArray>& seconds)
{
    PartHashes h;
    QSet<quint64> firstKeys;
    for (const QByteArray& first : firsts)
        firstKeys.insert(h.whole(first));
    QHash<quint64, int> secondIds;
    for (qsizetype j = 0; j < seconds.size(); ++j)
        secondIds.insert(h.whole(seconds[j]), static_cast<int>(j));
    // Every second entry "m rest" whose rest is a second entry too, by m.
    QHash<quint64, QList<int>> rests;
    for (const QByteArray& second : seconds) {
        h.load(second);
        h.spaces([&](qsizetype s) {
            if (const auto rest = secondIds.constFind(h.part(s + 1, h.size()));
                rest != secondIds.cend())
                rests[h.part(0, s)].append(*rest);
        });
    }
    // "p m" + "rest" prints as "p" + "m rest" does: when p is a first entry
    // and "m rest" a second one, only the pair that splits the text at its
    // first possible space counts.
    qint64 total = qint64(firsts.size()) * seconds.size();
    QList<qsizetype> seenFor(seconds.size(), -1);
    QList<const QList<int>*> found;
    for (qsizetype a = 0; a < firsts.size(); ++a) {
        h.load(firsts[a]);
        found.clear();
        h.spaces([&](qsizetype s) {
            if (const auto m = rests.constFind(h.part(s + 1, h.size()));
                m != rests.cend() && firstKeys.contains(h.part(0, s)))
                found.append(&*m);
        });
        if (found.size() == 1) {
            total -= found.front()->size();
            continue;
        }
        for (const QList<int>* list : found) {
            for (const int j : *list) {
                total -= seenFor[j] != a;
                seenFor[j] = a;
            }
        }
    }
    return total;
}
