#pragma once

#include <cstdint>
#include <random>

// The program's one pseudo-random generator. It is never seeded, so every run makes the same
// sequence of choices on every platform (no std::uniform_int_distribution, whose results differ
// between standard libraries).
class SharedRandom
{
public:
    static std::mt19937& generator();
    // A number in 0..n-1 (0 when n <= 0) from one draw: (draw * n) >> 32.
    static int below(int n);
    // Back to the state of a fresh run; tests use it to repeat a sequence.
    static void reset();
};
