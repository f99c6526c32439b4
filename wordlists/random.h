#pragma once

#include <cstdint>
#include <functional>

class WordListModel;

// The one pseudo-random sequence of the whole program, shared by both
// windows. Each draw is a single-precision value r with 0 <= r < 1.
namespace RandomSource {

float Draw();
// Gives the seed the clock chose, so that a run can be made again.
std::uint64_t SeedFromClock();

// A fixed seed gives the same draws on every run and machine: the generator
// and the way the seed is spread over its state are both fixed by the C++
// standard.
void Seed(std::uint64_t seed);

// Test seam: while a script is set, every draw comes from it instead of the
// generator. An empty function restores the generator.
using Script = std::function<float()>;
void SetScript(Script script);

} // namespace RandomSource

// Int(c * r + 1) - 1, formed in double precision so no rounding can reach c.
int PickIndexFor(int count, float r);

// Draws first, then reads the count: the order matters to scripted tests and
// to anyone replaying a seed.
int PickIndex(const WordListModel& list);
