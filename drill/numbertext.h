#pragma once

#include <string>

// Plain number text, as the value boxes and the score show it: no leading
// blank, "0.3" rather than ".3", no trailing zeros, a float to at most seven
// significant digits, never an exponent.
std::string plainNumberText(float value);
std::string plainNumberText(int value);

// Signed number text: one leading blank for a number that is not negative
// (a minus sign otherwise) and no zero before the point (" .5"). The keypad
// appends digits this way, and the correct answer is shown this way.
std::string signedNumberText(float value);
std::string signedNumberText(int value);

// |value| rounded to seven significant digits: the digits without trailing
// zeros and the decimal exponent of the first, 20/3 giving ("6666667", 0),
// 0.3f ("3", -1) and 0 ("0", 0), whatever the locale. No digits for an
// infinity or NaN.
struct SignificantDigits {
    std::string digits;
    int exponent = 0;
};
SignificantDigits sevenSignificantDigits(float value);
