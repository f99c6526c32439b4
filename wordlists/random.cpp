#include "random.h"

#include "wordlist.h"

#include <chrono>
#include <cmath>
#include <random>

namespace RandomSource {
namespace {
// Plain globals rather than function statics: a draw is the innermost step
// of quillmere-batch's loop, where a guard check per call shows.
std::mt19937 g_generator;
Script g_script;
} // namespace

float Draw()
{
    if (g_script) [[unlikely]]
        return g_script();
    // 24 bits fill a float's mantissa exactly, so the quotient is below 1 by
    // construction and no rounding can turn it into 1.
    const auto bits = static_cast<std::uint32_t>(g_generator() >> 8);
    return static_cast<float>(bits) / 16777216.0f;
}

void Seed(std::uint64_t seed)
{
    std::seed_seq seq{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32)};
    g_generator.seed(seq);
}

std::uint64_t SeedFromClock()
{
    const auto seed =
        static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    Seed(seed);
    return seed;
}

void SetScript(Script s)
{
    g_script = std::move(s);
}

} // namespace RandomSource

int PickIndexFor(int count, float r)
{
    const double x = static_cast<double>(count) * static_cast<double>(r) + 1.0;
    // Int(x), the largest whole number not above x, without a call to floor.
    int n = static_cast<int>(x);
    if (n > x)
        --n;
    return n - 1;
}

int PickIndex(const WordListModel& list)
{
    const float r = RandomSource::Draw();
    return PickIndexFor(list.count(), r);
}
