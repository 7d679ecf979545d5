#include "drill/numbertext.h"
#include "marking/answer.h"
#include "rulecases.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

// The rule tests' cases, run on the rules as whichever compiler built this
// program: the desktop's, or emscripten's for the browser, under node.
//
//   rulecheck            every case; "N passed, N failed", status 1 on a failure
//   rulecheck --digest   one number over the texts and readings of millions
//                        of floats, which the two builds must both print

namespace {

struct Tally {
    int passed = 0;
    int failed = 0;

    void check(bool ok, const std::string &what, const std::string &got)
    {
        if (ok) {
            ++passed;
            return;
        }
        ++failed;
        std::printf("FAIL %s: got \"%s\"\n", what.c_str(), got.c_str());
    }
};

template <typename Case, typename Format>
void checkTexts(Tally &tally, const char *table, const std::vector<Case> &cases, Format format)
{
    for (const Case &c : cases) {
        const std::string text = format(c.value);
        tally.check(text == c.text, std::string(table) + ": " + c.name, text);
    }
}

// FNV-1a over bytes.
struct Digest {
    std::uint64_t value = 14695981039346656037u;
    void add(const void *data, std::size_t size)
    {
        const auto *bytes = static_cast<const unsigned char *>(data);
        for (std::size_t i = 0; i < size; ++i)
            value = (value ^ bytes[i]) * 1099511628211u;
    }
};

std::uint64_t digestOverFloats()
{
    Digest d;
    // Every 1021st bit pattern of the positive finite floats, and both
    // texts of each and what the reading makes of them again.
    for (std::uint32_t bits = 0; bits < 0x7F800000u; bits += 1021) {
        float value = 0;
        std::memcpy(&value, &bits, sizeof value); // libc++ 13 has no bit_cast

        for (const std::string &text : {plainNumberText(value), signedNumberText(value)}) {
            d.add(text.data(), text.size());
            const std::u16string typed(text.begin(), text.end());
            const double read = readAnswer(typed);
            d.add(&read, sizeof read);
        }
    }
    return d.value;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--digest") == 0) {
        std::printf("%016" PRIx64 "\n", digestOverFloats());
        return 0;
    }
    Tally tally;
    checkTexts(tally, "plain float", plainFloatCases(), [](float v) { return plainNumberText(v); });
    checkTexts(tally, "plain integer", plainIntegerCases(),
               [](int v) { return plainNumberText(v); });
    checkTexts(tally, "signed float", signedFloatCases(),
               [](float v) { return signedNumberText(v); });
    checkTexts(tally, "signed integer", signedIntegerCases(),
               [](int v) { return signedNumberText(v); });
    for (const ReadingCase &c : readingCases()) {
        const double read = readAnswer(c.text);
        tally.check(read == c.value, "reading: " + c.name, std::to_string(read));
    }
    std::printf("%d passed, %d failed\n", tally.passed, tally.failed);
    return tally.failed == 0 ? 0 : 1;
}
