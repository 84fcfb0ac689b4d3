#pragma once
// The runtime's pseudo-random numbers. One generator serves the whole
// program: it is seeded once from the clock at its first use and every draw
// advances it. Re-seeding before each draw would repeat or correlate draws
// made within one clock tick, so nothing here re-seeds on its own.
#include <cstdint>

// The next number in [0, 1), a Single with 24 bits of resolution.
float Rnd();

// Seeds the generator again from the clock.
void Randomize();

// Seeds the generator with a fixed value, for repeatable runs (tests, benchmarks).
void Randomize(std::uint32_t seed);

// The draw 1..n: Int(Rnd * n + 1). Computed in double precision so that
// the largest Rnd value never rounds up to n + 1.
int RndDraw(int n);
