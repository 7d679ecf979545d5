#include "drill/numbertext.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

SignificantDigits sevenSignificantDigits(float value)
{
    // printf rather than to_chars, which the libc++ of some toolchains lacks
    // for floats; it rounds the float's exact value to nearest just as well.
    // Its decimal point is the locale's, a comma in German and more than one
    // byte in some locales, so only the digits before the 'e' are taken.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6e", double(std::fabs(value)));
    const std::string_view text(buffer);
    const std::size_t e = text.find('e');
    if (e == std::string_view::npos) // "inf" or "nan"
        return {};
    SignificantDigits d;
    for (const char c : text.substr(0, e))
        if (c >= '0' && c <= '9')
            d.digits += c;
    d.exponent = std::atoi(buffer + e + 1);
    while (d.digits.size() > 1 && d.digits.back() == '0')
        d.digits.pop_back();
    return d;
}

namespace {

// Positional notation of the unsigned magnitude, e.g. "6.666667", "0.3"
// (or ".3" when zeroBeforePoint is false), "360".
std::string positional(float value, bool zeroBeforePoint)
{
    if (value == 0 || !std::isfinite(value))
        return value == 0 ? "0" : (std::isnan(value) ? "NaN" : "Infinity");
    const SignificantDigits d = sevenSignificantDigits(value);
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
