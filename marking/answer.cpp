#include "marking/answer.h"

#include "marking/skippedcharacters.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

bool isSkippedInAnswer(char32_t c)
{
    const auto *after = std::upper_bound(
        std::begin(SkippedCharacters), std::end(SkippedCharacters), c,
        [](char32_t point, const CodePointRange &range) { return point < range.first; });
    return after != std::begin(SkippedCharacters) && c <= std::prev(after)->last;
}

namespace {

// The ASCII form of a character that can be part of a number, or 0. A
// Japanese input method types full-width digits and signs, 「。」 for the
// point when the pupil forgets to switch it off, and kanji digits one by one
// when a number is converted by mistake. Kanji with a place value (十, 百)
// are no digits: the number ends there.
char asciiForm(char32_t c)
{
    if (c >= U'０' && c <= U'９')
        return static_cast<char>('0' + (c - U'０'));
    constexpr std::u32string_view KanjiDigits = U"〇一二三四五六七八九";
    if (const auto digit = KanjiDigits.find(c); digit != std::u32string_view::npos)
        return static_cast<char>('0' + digit);
    switch (c) {
    case U'．':
    case U'。':
    case U'｡':
        return '.';
    case U'－':
    case U'−':
        return '-';
    case U'＋':
        return '+';
    default:
        return (c < 0x80) ? static_cast<char>(c) : '\0';
    }
}

bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char16_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The code point at text[i], and how many units it takes. A lone surrogate
// stands for itself and fits no number.
char32_t codePointAt(std::u16string_view text, std::size_t i, std::size_t &units)
{
    const char16_t c = text[i];
    units = 1;
    if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
        units = 2;
        return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
    }
    return c;
}

} // namespace

double readAnswer(std::u16string_view text)
{
    bool negative = false;
    bool seenSign = false;
    bool seenPoint = false;
    bool seenDigit = false;
    // The number is digits × 10^exponent: strtod takes the decimal point of
    // the locale the program runs in, a comma for a German pupil, so it is
    // never given one.
    std::string digits;
    long long exponent = 0;

    for (std::size_t i = 0, units = 1; i < text.size(); i += units) {
        const char32_t c = codePointAt(text, i, units);
        if (isSkippedInAnswer(c))
            continue;
        const char a = asciiForm(c);
        if ((a == '-' || a == '+') && !seenSign && !seenDigit && !seenPoint) {
            negative = a == '-';
        } else if (a == '.' && !seenPoint) {
            seenPoint = true;
        } else if (a >= '0' && a <= '9') {
            seenDigit = true;
            // Leading zeros change nothing, and thousands of them pasted in
            // would only make strtod's work longer.
            if (a != '0' || !digits.empty())
                digits += a;
            if (seenPoint)
                --exponent;
        } else {
            break;
        }
        seenSign = true; // a sign may only stand first
    }
    if (!seenDigit)
        return 0;

    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    // strtod rounds to nearest; a number too large reads as HUGE_VAL, an
    // infinity, and one too small as 0.
    const double value =
        digits.empty() ? 0.0
                       : std::strtod((digits + 'e' + std::to_string(exponent)).c_str(), nullptr);
    return negative ? -value : value;
}
