#pragma once

// Seeded random inputs, so that a failure repeats.
#include <random>
#include <string>

inline std::string RandomFrom(std::mt19937& random, const std::string& pool, int length)
{
    std::string s;
    for (int i = 0; i < length; ++i)
        s += pool[random() % pool.size()];
    return s;
}

inline std::string RandomDigits(std::mt19937& random, int length)
{
    return RandomFrom(random, "0123456789", length);
}
