#include "app/seededrandom.h"

void SeededRandom::seed(int value)
{
    engine_.seed(static_cast<std::mt19937::result_type>(value));
}

float SeededRandom::next()
{
    // 24 random bits: every value is exact in a float and below 1.
    return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f);
}
