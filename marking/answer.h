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
