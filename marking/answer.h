#pragma once

#include <string_view>

// Reads the answer box leniently: blanks, tabs, line breaks, the ideographic
// space and invisible characters (zero-width spaces and joiners, the byte
// order mark) are skipped wherever they stand (the keypad puts a blank before
// every digit), then an
// optional sign and digits with at most one decimal point are taken, up to
// the first character that does not fit. Full-width digits, point and signs,
// as a Japanese input method types them, count as their ASCII forms. Text
// without a leading number reads as 0; a number too large for a double reads
// as an infinity. No exponent is read.
double readAnswer(std::u16string_view text);
