#include "app/contrast.h"

#include <algorithm>
#include <cmath>

namespace {

double luminance(Colour c)
{
    auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
}

} // namespace

double contrastRatio(Colour a, Colour b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Colour readableLetters(Colour base, Colour from, Colour to)
{
    constexpr int Steps = 32;
    auto blend = [&](int step) {
        const double t = double(step) / Steps;
        return Colour{from.red + t * (to.red - from.red), from.green + t * (to.green - from.green),
                      from.blue + t * (to.blue - from.blue)};
    };
    int step = 0;
    while (step < Steps && contrastRatio(blend(step), base) < 4.5)
        ++step;
    return blend(step);
}
