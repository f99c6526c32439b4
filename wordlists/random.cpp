#include "random.h"

#include "wordlist.h"

#include <chrono>
#include <cmath>
#include <random>

namespace RandomSource {
namespace {
std::mt19937& generator()
{
    static std::mt19937 gen;
    return gen;
}
Script& script()
{
    static Script s;
    return s;
}
} // namespace

float Draw()
{
    if (script())
        return script()();
    // 24 bits fill a float's mantissa exactly, so the quotient is below 1 by
    // construction and no rounding can turn it into 1.
    const auto bits = static_cast<std::uint32_t>(generator()() >> 8);
    return static_cast<float>(bits) / 16777216.0f;
}

void Seed(std::uint64_t seed)
{
    std::seed_seq seq{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32)};
    generator().seed(seq);
}

void SeedFromClock()
{
    Seed(static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

void SetScript(Script s)
{
    script() = std::move(s);
}

} // namespace RandomSource

int PickIndexFor(int count, float r)
{
    const double n = std::floor(static_cast<double>(count) * static_cast<double>(r) + 1.0);
    return static_cast<int>(n) - 1;
}

int PickIndex(const WordListModel& list)
{
    const float r = RandomSource::Draw();
    return PickIndexFor(list.count(), r);
}
