#include "marking/keypad.h"

#include "drill/numbertext.h"

std::u16string keypadEdit(std::u16string_view text, int index)
{
    if (index == ClearKey)
        return {};
    std::u16string edited(text);
    if (index == PointKey) {
        edited += u'.';
    } else {
        for (char c : signedNumberText(index))
            edited += static_cast<char16_t>(c);
    }
    return edited;
}
