#pragma once

#include <string>
#include <string_view>

// UTF-8, as the program writes its texts, and UTF-16, as the faces hold
// what is shown and typed.

// From UTF-8, which the program's own texts always are.
std::u16string utf16(std::string_view text);
// To UTF-8; a lone surrogate, which no UTF-8 can hold, becomes U+FFFD.
std::string utf8(std::u16string_view text);
