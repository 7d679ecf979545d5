#include "marking/answer.h"

#include <QChar>
#include <charconv>
#include <limits>
#include <string>
#include <string_view>

namespace {

// What the reading passes over wherever it stands: every space separator
// (the blank, the no-break and thin spaces, the ideographic space), every
// line and paragraph separator, every control character (tab, line breaks,
// vertical tab, form feed) and every invisible format character (soft
// hyphen, zero-width spaces and joiners, the byte order mark), as text
// pasted from web pages and word processors carries them.
bool isSkipped(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
        return true;
    default:
        return false;
    }
}

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

// The code point at text[i], and how many units it takes. A lone surrogate
// stands for itself and fits no number.
char32_t codePointAt(std::u16string_view text, std::size_t i, std::size_t &units)
{
    const char16_t c = text[i];
    units = 1;
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1])) {
        units = 2;
        return QChar::surrogateToUcs4(c, text[i + 1]);
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
    bool nonZeroBeforePoint = false;
    std::string number;

    for (std::size_t i = 0, units = 1; i < text.size(); i += units) {
        const char32_t c = codePointAt(text, i, units);
        if (isSkipped(c))
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
