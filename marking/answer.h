#pragma once

#include <string_view>

// Reads the answer box leniently: every space, control and invisible format
// character is skipped wherever it stands (the keypad puts a blank before
// every digit), then an optional sign and digits with at most one decimal
// point are taken, up to the first character that does not fit. Full-width
// digits, point and signs, the Japanese full stop 「。」 as the point and the
// kanji digits 〇 to 九, as a Japanese input method types them, count as their
// ASCII forms. Text without a leading number reads as 0; a number too large
// for a double reads as an infinity. No exponent is read.
double readAnswer(std::u16string_view text);

// Whether the reading passes over the character wherever it stands: every
// space separator (the blank, the no-break and thin spaces, the ideographic
// space), every line and paragraph separator, every control character (tab,
// line breaks, vertical tab, form feed) and every invisible format
// character (soft hyphen, zero-width spaces and joiners, the byte order
// mark), as text pasted from web pages and word processors carries them.
// The categories are those of Unicode 15.0 (marking/skippedcharacters.h).
bool isSkippedInAnswer(char32_t c);
