#include "playlist/shufflerandom.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <random>

namespace {

// 24 random bits over 2^24 give every float step of [0, 1) and never reach 1.
float unitFloat(std::mt19937 &generator)
{
    return static_cast<float>(generator() >> 8) / 16777216.0f;
}

} // namespace

float clockRandom()
{
    static std::uint64_t calls = 0;
    static float previous = -1.0f;
    const auto ticks
        = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    ++calls;
    std::seed_seq seed { static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32),
        static_cast<std::uint32_t>(calls), static_cast<std::uint32_t>(calls >> 32) };
    std::mt19937 generator(seed);
    float r = unitFloat(generator);
    while (r == previous)
        r = unitFloat(generator);
    previous = r;
    return r;
}

int shufflePick(float r, int count)
{
    // In double the product stays below count for every float r below 1.
    return static_cast<int>(std::floor(static_cast<double>(r) * count));
}
