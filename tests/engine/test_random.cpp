#include "runtime/random.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

TEST(Random, SeededGeneratorRepeatsItsSequenceAndAdvancesOnEveryDraw)
{
    Randomize(1234u);
    std::vector<float> first;
    for (int i = 0; i < 50; ++i)
        first.push_back(Rnd());
    Randomize(1234u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(Rnd(), first[i]) << i;

    // Consecutive draws differ: nothing re-seeds between them.
    int repeats = 0;
    for (int i = 1; i < 50; ++i)
        repeats += first[i] == first[i - 1];
    EXPECT_EQ(repeats, 0);
}

TEST(Random, DrawsStayInOneToNAndAreFair)
{
    Randomize(99u);
    for (int i = 0; i < 100000; ++i) {
        const float r = Rnd();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
    constexpr int kDraws = 80000;
    std::array<int, 21> seen{};
    for (int i = 0; i < kDraws; ++i) {
        const int d = RndDraw(20);
        ASSERT_GE(d, 1);
        ASSERT_LE(d, 20);
        ++seen[d];
    }
    for (int d = 1; d <= 20; ++d)
        EXPECT_NEAR(seen[d], kDraws / 20, 300) << d;
    EXPECT_EQ(RndDraw(1), 1);
}

TEST(Random, ClockSeedingGivesAFreshSequence)
{
    Randomize(5u);
    const float seeded = Rnd();
    Randomize();
    std::vector<float> a;
    for (int i = 0; i < 8; ++i)
        a.push_back(Rnd());
    Randomize(5u);
    EXPECT_EQ(Rnd(), seeded);
    EXPECT_NE(a[0], seeded);
}
