#pragma once

#include "drill/outside.h"

#include <random>

// A seedable generator of floats in [0, 1). The same seed gives the same
// sequence on every machine, and in the browser as on the desktop: both
// faces draw their questions from it.
class SeededRandom final : public RandomSource {
public:
    void seed(int value) override;
    float next() override;

private:
    std::mt19937 engine_;
};
