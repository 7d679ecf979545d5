#include "marking/answer.h"

#include <charconv>
#include <limits>
#include <string>

namespace {

// Blanks, line breaks, the ideographic space and the invisible characters
// that pasted text can carry (zero-width spaces and joiners, byte order mark).
bool isBlank(char16_t c)
{
    switch (c) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\r':
    case u'\u3000':
    case u'\u200B':
    case u'\u200C':
    case u'\u200D':
    case u'\u2060':
    case u'\uFEFF':
        return true;
    default:
        return false;
    }
}

// The ASCII form of a character that can be part of a number, or 0.
char asciiForm(char16_t c)
{
    if (c >= u'０' && c <= u'９')
        return static_cast<char>('0' + (c - u'０'));
    switch (c) {
    case u'．':
        return '.';
    case u'－':
    case u'−':
        return '-';
    case u'＋':
        return '+';
    default:
        return (c < 0x80) ? static_cast<char>(c) : '\0';
    }
}

} // namespace

double readAnswer(std::u16string_view text)
{
    bool negative = false;
    bool seenSign = false;
    bool seenPoint = false;
    bool seenDigit = false;
    bool nonZeroBeforePoint = false;
    std::string number;

    for (char16_t c : text) {
        if (isBlank(c))
            continue;
        const char a = asciiForm(c);
        if ((a == '-' || a == '+') && !seenSign && !seenDigit && !seenPoint) {
            negative = a == '-';
        } else if (a == '.' && !seenPoint) {
            seenPoint = true;
            number += '.';
        } else if (a >= '0' && a <= '9') {
            seenDigit = true;
            nonZeroBeforePoint = nonZeroBeforePoint || (!seenPoint && a != '0');
            number += a;
        } else {
            break;
        }
        seenSign = true; // a sign may only stand first
    }
    if (!seenDigit)
        return 0;

    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range)
        value = nonZeroBeforePoint ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}
