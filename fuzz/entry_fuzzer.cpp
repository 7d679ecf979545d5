// Arbitrary answer text read, edited on the keypad and marked against
// arbitrary stored values, with the properties the window relies on checked
// on every input. Built as a libFuzzer target with clang (make fuzz) and,
// with gcc, into the corpus replay that runs in make test.
//
// Input: the answer text as UTF-8 up to the first NUL byte or, after a first
// byte 0xFE (never in UTF-8), a count byte and that many raw UTF-16 code
// units, which lets the fuzzer reach any code unit the reader compares with.
// Then the question's stored values (ValR, ValR1, ValR2, ValE, ValI, ValI1,
// ValI2 as floats, TaskType as a double, CaseNo as an int32, in native byte
// order), then a script whose bytes press keypad keys and mark questions.
// Missing bytes read as zero, so plain text files make good seeds.

#include "drill/drillstate.h"
#include "drill/numbertext.h"
#include "marking/answer.h"
#include "marking/keypad.h"
#include "marking/marking.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint8_t RawUtf16 = 0xFE;

// abort() rather than a plain trap, so the replay says which property broke;
// libFuzzer treats the signal as a crash and keeps the input.
void check(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "entry_fuzzer: %s\n", property);
        std::abort();
    }
}

// Lenient UTF-8: a malformed byte becomes U+FFFD; overlong forms and encoded
// surrogates are decoded as they stand, so NULs and lone surrogates can
// still reach the reader.
std::u16string decodeUtf8(Bytes bytes)
{
    std::u16string text;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t lead = bytes[i];
        std::size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1Fu;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0Fu;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07u;
        }
        bool wellFormed = length > 0 && i + length <= bytes.size();
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            wellFormed = (bytes[i + k] & 0xC0) == 0x80;
            code = (code << 6) | (bytes[i + k] & 0x3Fu);
        }
        if (!wellFormed || code > 0x10FFFF) {
            text += u'\uFFFD';
            ++i;
            continue;
        }
        if (code > 0xFFFF) {
            code -= 0x10000;
            text += static_cast<char16_t>(0xD800 + (code >> 10));
            text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            text += static_cast<char16_t>(code);
        }
        i += length;
    }
    return text;
}

// Takes a value's bytes off the front; what is missing reads as zero.
template <typename T> T take(Bytes &bytes)
{
    std::array<std::uint8_t, sizeof(T)> raw{};
    const std::size_t n = std::min(raw.size(), bytes.size());
    std::copy_n(bytes.begin(), n, raw.begin());
    bytes = bytes.subspan(n);
    return std::bit_cast<T>(raw);
}

std::u16string utf16(std::string_view ascii)
{
    return {ascii.begin(), ascii.end()};
}

// The characters the reader skips wherever they stand. The reader's own
// table, not Qt's categories: Qt 6.4 has Unicode 14.0 and the table 15.0,
// which made U+13439 to U+1343F format characters, and tst_entry holds the
// table to Qt's categories everywhere else.
bool isBlank(char32_t c)
{
    return isSkippedInAnswer(c);
}

// The text cut into its code points, each with the code units it takes; a
// lone surrogate is a code point of its own.
std::vector<std::pair<char32_t, std::u16string_view>> codePoints(std::u16string_view text)
{
    std::vector<std::pair<char32_t, std::u16string_view>> points;
    for (std::size_t i = 0; i < text.size();) {
        const bool pair = QChar::isHighSurrogate(text[i]) && i + 1 < text.size() &&
                          QChar::isLowSurrogate(text[i + 1]);
        const std::size_t units = pair ? 2 : 1;
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i];
        points.emplace_back(c, text.substr(i, units));
        i += units;
    }
    return points;
}

constexpr std::u32string_view KanjiDigits = U"〇一二三四五六七八九";

// The ASCII form of the characters an input method types for a number; the
// reader takes U+2212 MINUS SIGN as well as the full-width hyphen-minus, and
// the Japanese full stops as the point.
char32_t narrow(char32_t c)
{
    if (c >= U'０' && c <= U'９')
        return U'0' + (c - U'０');
    if (const auto k = KanjiDigits.find(c); k != std::u32string_view::npos)
        return U'0' + static_cast<char32_t>(k);
    switch (c) {
    case U'．':
    case U'。':
    case U'｡':
        return U'.';
    case U'－':
    case U'−':
        return U'-';
    case U'＋':
        return U'+';
    default:
        return c;
    }
}

// The text with its digits, point and signs in the forms an input method
// types: full-width, or kanji digits with 「。」 for the point.
std::u16string widen(std::u16string_view text, bool kanji)
{
    std::u16string wide;
    for (char16_t c : text) {
        if (c >= u'0' && c <= u'9')
            wide += kanji ? static_cast<char16_t>(KanjiDigits[static_cast<std::size_t>(c - u'0')])
                          : static_cast<char16_t>(u'０' + (c - u'0'));
        else if (c == u'.')
            wide += kanji ? u'。' : u'．';
        else if (c == u'-')
            wide += u'－';
        else if (c == u'+')
            wide += u'＋';
        else
            wide += c;
    }
    return wide;
}

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

// The value the text should read as, worked out by strtod: the leading
// sign, digits and point that are left once blanks are dropped and wide
// forms narrowed. strtod rounds correctly and overflows to HUGE_VAL as the
// reader should; the number is cut before anything strtod alone would take
// (an exponent, "inf", "0x").
double referenceValue(std::u16string_view text)
{
    std::string number;
    bool point = false;
    for (const auto &[original, units] : codePoints(text)) {
        if (isBlank(original))
            continue;
        const char32_t c = narrow(original);
        if ((c == U'-' || c == U'+') && number.empty()) {
            number += static_cast<char>(c);
        } else if (isDigit(c) || (c == U'.' && !point)) {
            point = point || c == U'.';
            number += static_cast<char>(c);
        } else {
            break;
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

// Reads the text and checks the reading against the reference and against
// the same text with its blanks dropped, with a blank before every
// character, and in full-width forms.
double checkedReading(std::u16string_view text)
{
    const double value = readAnswer(text);
    check(!std::isnan(value), "an answer reads as NaN");
    check(value == referenceValue(text), "an answer reads other than strtod reads it");

    // Blanks of every kind between the characters: space, no-break space,
    // ideographic space, soft hyphen, zero-width space, tab.
    constexpr std::u16string_view Blanks = u" \u00A0\u3000\u00AD\u200B\t";
    std::u16string withoutBlanks;
    std::u16string spread;
    for (const auto &[c, units] : codePoints(text)) {
        // Two lone surrogates brought together would make a new character;
        // the reading stops at the first of them anyway.
        if (!isBlank(c) && !withoutBlanks.empty() && QChar::isHighSurrogate(withoutBlanks.back()) &&
            QChar::isLowSurrogate(units.front()))
            withoutBlanks += u'\uFFFD';
        if (!isBlank(c))
            withoutBlanks += units;
        spread += Blanks[spread.size() % Blanks.size()];
        spread += units;
    }
    check(readAnswer(withoutBlanks) == value, "dropping blanks changes the reading");
    check(readAnswer(spread) == value, "adding blanks changes the reading");
    check(readAnswer(widen(text, false)) == value, "full-width forms read differently");
    check(readAnswer(widen(text, true)) == value, "kanji digits read differently");

    const bool asciiDigitsOnly =
        std::all_of(text.begin(), text.end(), [](char16_t c) { return isDigit(c); });
    if (asciiDigitsOnly)
        check(!std::signbit(value), "a text of digits reads as negative");
    return value;
}

void checkExpectedAnswer(const DrillState &s, float expected)
{
    const auto same = [expected](float stored) {
        return std::bit_cast<std::uint32_t>(stored) == std::bit_cast<std::uint32_t>(expected);
    };
    if ((s.TaskType == 1 || s.TaskType == 2 || s.TaskType == 3) && s.CaseNo >= 1 && s.CaseNo <= 5) {
        if (s.TaskType == 1)
            check(same(s.CaseNo == 4 ? s.ValI1 : s.ValI), "the current task asks the wrong value");
        else if (s.TaskType == 2)
            check(same(s.ValE), "the voltage task asks the wrong value");
        else
            check(same(s.CaseNo >= 4 ? s.ValR1 : s.ValR),
                  "the resistance task asks the wrong value");
    } else {
        check(same(s.ValI) || same(s.ValI1) || same(s.ValI2) || same(s.ValE) || same(s.ValR) ||
                  same(s.ValR1) || same(s.ValR2),
              "the expected answer is none of the stored values");
    }
}

void checkMarking(float expected, double typed)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    for (double entry : {typed, inf, -inf, nan, -nan})
        if (!std::isfinite(entry))
            check(!isRightAnswer(entry, expected), "a non-finite entry is marked right");

    if (!std::isfinite(expected)) {
        check(!isRightAnswer(typed, expected), "an answer matches an infinite stored value");
        return;
    }
    const double x = expected;
    check(isRightAnswer(x, expected), "the stored value itself is marked wrong");
    check(!isRightAnswer(x + 2e-6 * std::fabs(x) + 1e-300, expected),
          "an answer two parts in a million too high is marked right");
    check(!isRightAnswer(x - 2e-6 * std::fabs(x) - 1e-300, expected),
          "an answer two parts in a million too low is marked right");
    // What the window shows, typed back in, must count.
    check(isRightAnswer(readAnswer(utf16(signedNumberText(expected))), expected),
          "the correct answer as shown is marked wrong");
    check(isRightAnswer(readAnswer(utf16(plainNumberText(expected))), expected),
          "a value box's text is marked wrong");
}

// Ten questions marked in the order the script says, each with one of the
// entries at hand; the score must always be ten points per question whose
// latest mark is right.
void checkScore(Bytes script, float expected, const std::array<double, 3> &entries)
{
    std::array<bool, 10> marked{};
    std::int16_t score = 0;
    for (std::uint8_t b : script) {
        const std::size_t question = b % marked.size();
        const std::size_t which = (b / marked.size()) % (entries.size() + 1);
        const double entry = which < entries.size() ? entries[which] : double{expected};
        const bool right = isRightAnswer(entry, expected);
        const std::int16_t next = scoreAfterMarking(score, marked[question], right);
        check(next - score == 0 || std::abs(next - score) == 10,
              "the score moves by other than ten points");
        marked[question] = right;
        score = next;
        check(score == 10 * std::count(marked.begin(), marked.end(), true),
              "the score is not ten points per question marked right");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Bytes rest(data, size);
    std::u16string text;
    if (!rest.empty() && rest[0] == RawUtf16) {
        rest = rest.subspan(1);
        const auto count = take<std::uint8_t>(rest);
        for (int i = 0; i < count; ++i)
            text += take<char16_t>(rest);
    } else {
        const auto nul =
            static_cast<std::size_t>(std::find(rest.begin(), rest.end(), 0) - rest.begin());
        text = decodeUtf8(rest.first(nul));
        rest = rest.subspan(std::min(rest.size(), nul + 1));
    }

    DrillState state;
    state.ValR = take<float>(rest);
    state.ValR1 = take<float>(rest);
    state.ValR2 = take<float>(rest);
    state.ValE = take<float>(rest);
    state.ValI = take<float>(rest);
    state.ValI1 = take<float>(rest);
    state.ValI2 = take<float>(rest);
    state.TaskType = take<double>(rest);
    state.CaseNo = take<std::int32_t>(rest);
    const Bytes script = rest;

    const double typed = checkedReading(text);

    // A key pressed after whatever was typed, and a run of keys from an
    // empty box, as the keypad alone would build it.
    const int firstKey = script.empty() ? 0 : script[0] % 12;
    const std::u16string edited = keypadEdit(text, firstKey);
    if (firstKey == ClearKey)
        check(edited.empty(), "the clear key leaves text behind");
    else
        check(edited.starts_with(text), "a key changes what was typed before it");
    checkedReading(edited);

    std::u16string keyed;
    for (std::uint8_t b : script.first(std::min<std::size_t>(script.size(), 64)))
        keyed = keypadEdit(keyed, b % 12);
    const double keyedValue = checkedReading(keyed);
    check(!std::signbit(keyedValue), "the keypad builds a negative number");

    const float expected = expectedAnswer(state);
    checkExpectedAnswer(state, expected);
    checkMarking(expected, typed);
    checkScore(script, expected,
               {typed, keyedValue, readAnswer(utf16(signedNumberText(expected)))});
    return 0;
}
