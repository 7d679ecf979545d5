#include "drill/numbertext.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

// Digits and decimal exponent of |value| rounded to seven significant digits,
// without trailing zeros: 20/3 gives ("6666667", 0), 0.3f gives ("3", -1).
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal sevenDigits(float value)
{
    char buffer[32];
    // to_chars is locale independent, unlike printf, and rounds the float's
    // exact value to nearest.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::scientific, 6);
    const std::string text(buffer, result.ptr); // d.dddddde±xx
    Decimal d;
    d.digits = text.substr(0, 1) + text.substr(2, 6);
    d.exponent = std::atoi(text.c_str() + text.find('e') + 1);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

// Positional notation of the unsigned magnitude, e.g. "6.666667", "0.3"
// (or ".3" when zeroBeforePoint is false), "360".
std::string positional(float value, bool zeroBeforePoint)
{
    if (value == 0 || !std::isfinite(value))
        return value == 0 ? "0" : (std::isnan(value) ? "NaN" : "Infinity");
    const Decimal d = sevenDigits(value);
    const int pointAt = d.exponent + 1; // digits before the decimal point
    std::string text;
    if (pointAt <= 0) {
        text = zeroBeforePoint ? "0." : ".";
        text.append(static_cast<std::size_t>(-pointAt), '0');
        text += d.digits;
    } else if (static_cast<std::size_t>(pointAt) >= d.digits.size()) {
        text = d.digits;
        text.append(static_cast<std::size_t>(pointAt) - d.digits.size(), '0');
    } else {
        text = d.digits.substr(0, static_cast<std::size_t>(pointAt)) + '.' +
               d.digits.substr(static_cast<std::size_t>(pointAt));
    }
    return text;
}

} // namespace

std::string plainNumberText(float value)
{
    const std::string magnitude = positional(value, true);
    return std::signbit(value) && value != 0 ? '-' + magnitude : magnitude;
}

std::string plainNumberText(int value)
{
    return std::to_string(value);
}

std::string signedNumberText(float value)
{
    const std::string magnitude = positional(value, false);
    return (std::signbit(value) && value != 0 ? '-' : ' ') + magnitude;
}

std::string signedNumberText(int value)
{
    const std::string digits = std::to_string(value);
    return value < 0 ? digits : ' ' + digits;
}
