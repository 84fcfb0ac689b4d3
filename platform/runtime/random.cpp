#include "runtime/random.h"

#include <chrono>
#include <random>

namespace {

std::uint32_t clockSeed()
{
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(ticks ^ (ticks >> 32));
}

std::mt19937 &generator()
{
    static std::mt19937 engine(clockSeed());
    return engine;
}

} // namespace

float Rnd()
{
    // The top 24 bits make an exact Single k / 2^24, always below 1.
    return static_cast<float>(generator()() >> 8) * (1.0f / 16777216.0f);
}

void Randomize()
{
    generator().seed(clockSeed());
}

void Randomize(std::uint32_t seed)
{
    generator().seed(seed);
}

int RndDraw(int n)
{
    return static_cast<int>(static_cast<double>(Rnd()) * n + 1);
}
