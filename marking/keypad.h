#pragma once

#include <string>
#include <string_view>

inline constexpr int ClearKey = 10;
inline constexpr int PointKey = 11;

// The answer box's text after a press of keypad key `index`: the clear key
// empties it, the point key appends ".", a digit key appends a blank and the
// digit. Nothing is checked; the reading skips the blanks.
std::u16string keypadEdit(std::u16string_view text, int index);
