#include "SharedRandom.h"

std::mt19937& SharedRandom::generator()
{
    static std::mt19937 gen;
    return gen;
}

int SharedRandom::below(int n)
{
    if (n <= 0)
        return 0;
    const std::uint64_t draw = generator()();
    return static_cast<int>((draw * static_cast<std::uint64_t>(n)) >> 32);
}

void SharedRandom::reset()
{
    generator() = std::mt19937();
}
