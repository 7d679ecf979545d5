#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

// The cases of the rule tests as plain data, without Qt: the QtTest suites
// read them, and so does rulecheck, which runs them on the rules as the
// browser's build compiles them. The two builds are checked against the
// same rows, so they cannot drift apart.

struct FloatTextCase {
    const char *name;
    float value;
    const char *text;
};

struct IntTextCase {
    const char *name;
    int value;
    const char *text;
};

struct ReadingCase {
    std::string name;
    std::u16string text;
    double value;
};

inline std::vector<FloatTextCase> plainFloatCases()
{
    return {
        {"0.3 as a float, slightly above 0.3", 0.3f, "0.3"},
        {"20/3", 20.0f / 3.0f, "6.666667"},
        {"72.00001", 72.00001f, "72.00001"},
        {"0.90000004, one ulp above 0.9", std::nextafter(0.9f, 1.0f), "0.9"},
        {"27.000002 reads as 27", std::nextafter(27.0f, 28.0f), "27"},
        {"ten without point or zeros", 10.0f, "10"},
        {"22.5", 22.5f, "22.5"},
        {"360", 360.0f, "360"},
        {"the smallest current", 0.1f, "0.1"},
        {"33.33334 where 33.33333 is ideal", 33.33334f, "33.33334"},
        {"46.66666", 46.66666f, "46.66666"},
        {"rounds up into a new digit", 9.9999999f, "10"},
        {"zero", 0.0f, "0"},
        {"negative below one", -0.5f, "-0.5"},
    };
}

inline std::vector<IntTextCase> plainIntegerCases()
{
    return {
        {"score at start", 0, "0"},
        {"first right answer", 10, "10"},
        {"question ten", 10, "10"},
        {"largest 16-bit score", 32767, "32767"},
    };
}

inline std::vector<FloatTextCase> signedFloatCases()
{
    return {
        {"a half, no zero before the point", 0.5f, " .5"},
        {"twelve", 12.0f, " 12"},
        {"20/3", 20.0f / 3.0f, " 6.666667"},
        {"0.90000004", std::nextafter(0.9f, 1.0f), " .9"},
        {"27.000002", std::nextafter(27.0f, 28.0f), " 27"},
        {"negative", -0.25f, "-.25"},
        {"zero", 0.0f, " 0"},
    };
}

inline std::vector<IntTextCase> signedIntegerCases()
{
    return {
        {"digit 0", 0, " 0"},
        {"digit 7", 7, " 7"},
        {"negative", -3, "-3"},
    };
}

inline std::vector<ReadingCase> readingCases()
{
    std::vector<ReadingCase> rows = {
        {"keypad 1 2 . 5", u" 1 2. 5", 12.5},
        {"keypad 0 . 5", u" 0. 5", 0.5},
        {"keypad zeros", u" 0 0 0", 0.0},
        {"second point ends it", u" 1..", 1.0},
        {"2.5.1", u"2.5.1", 2.5},
        {"empty", u"", 0.0},
        {"letters", u"abc", 0.0},
        {"lone point", u".", 0.0},
        {"lone sign", u"-", 0.0},
        {"sign after blanks", u" - 3", -3.0},
        {"plus sign", u"+4", 4.0},
        {"point first", u".3", 0.3},
        {"trailing point", u"5.", 5.0},
        {"tabs and line feeds", u"\t1\n2\r\n", 12.0},
        {"stops at a letter", u"27V", 27.0},
        {"stops at a second sign", u"3-4", 3.0},
        {"no exponent", u"1e3", 1.0},
        {"full-width digits and point", u"１２．５", 12.5},
        {"full-width minus", u"－０．２", -0.2},
        {"ideographic space", u"２　４", 24.0},
        {"mixed widths", u" 4６.5", 46.5},
        {"byte order mark and zero-width space", u"\uFEFF1\u200B.5", 1.5},
        {"other script ends it", u"7Ω", 7.0},
        {"many leading zeros", u"0000000000000000000000000000000.9", 0.9},
        {"below the smallest double", u"0." + std::u16string(400, u'0') + u"1", 0.0},
        {"thousands of digits after the point", u"3." + std::u16string(3000, u'3'), 10.0 / 3},
        {"trailing zeros before the point", u"1" + std::u16string(300, u'0'), 1e300},
        {"a comma is no point", u"2,5", 2.0},
        // What a Japanese input method leaves when the pupil forgets to turn it off.
        {"Japanese full stop as the point", u"。３", 0.3},
        {"half-width full stop", u"２｡５", 2.5},
        {"kanji digits", u"九六", 96.0},
        {"kanji zero and point", u"〇．三", 0.3},
        {"kanji digits with a full stop", u"一。二", 1.2},
        {"a place value ends it", u"二十", 2.0},
        {"place value first", u"十二", 0.0},
        {"second full stop ends it", u"1。2。3", 1.2},
    };
    // Pasted text from web pages and word processors.
    for (char32_t c : {U'\u00A0', U'\u2009', U'\u202F', U'\u00AD', U'\v', U'\f', U'\u2007',
                       U'\u2028', U'\u180E', U'\u0085', U'\U000E0020'}) {
        std::u16string blank;
        if (c > 0xFFFF) {
            blank += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            blank += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            blank += static_cast<char16_t>(c);
        }
        char name[40];
        std::snprintf(name, sizeof name, "U+%04X around and inside", unsigned(c));
        std::u16string text = blank;
        for (const char16_t *part : {u"0", u".", u"5"})
            text.append(part).append(blank);
        rows.push_back({name, text, 0.5});
    }
    return rows;
}
