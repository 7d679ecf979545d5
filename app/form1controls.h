#pragma once

#include "drill/outside.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The window's controls as data: what each face puts on its screen, where,
// in which face and colours, in which focus order and with what a screen
// reader says about it. Both faces build their controls from this one
// table; the handlers address the controls by their index in it.

enum class ControlKind { Label, TextBox, Button };
enum class TypeFace { Proportional, Fixed };
enum class TextAlign { Left, Centre, Right };

// What a text box says to a screen reader instead of its bare text.
enum class SpokenForm { AsShown, SlotValue, Score, Mark };

struct ControlRect {
    int left, top, width, height;
    friend constexpr bool operator==(ControlRect, ControlRect) = default;
};

struct ControlRow {
    std::string name; // "Text4_3", as the faces name their controls
    ControlKind kind = ControlKind::Label;
    std::string caption; // a label's or button's caption, a box's first text (UTF-8)
    ControlRect rect{};  // as built, in window pixels
    TypeFace face = TypeFace::Proportional;
    int pixelSize = 19;
    bool bold = true;
    TextAlign align = TextAlign::Left;
    // A label's own colours; every other label is white on black. Text boxes
    // and buttons have none: they keep the desktop's.
    std::optional<Rgb> background;
    std::optional<Rgb> letters;
    bool enabled = true;
    bool visible = true;
    bool focusable = true;
    std::string accessibleName;
    std::string accessibleDescription;
    SpokenForm spoken = SpokenForm::AsShown;
    int index = -1; // its index in a control array, or -1
};

// Index of a control in the table.
using ControlId = int;

// The window: its caption, size and background.
inline constexpr std::string_view WindowCaption = "オームの法則（並列）";
inline constexpr int WindowWidth = 792;
inline constexpr int WindowHeight = 573;
inline constexpr Rgb WindowBackground{0, 0, 0};
inline constexpr Rgb LabelLetters{255, 255, 255};
// What a web page shows in place of the window once the drill has ended: a
// browser tab may refuse to close, and a blank page would look broken.
inline constexpr std::string_view EndedNotice =
    "ドリルは終わりました。もう一度するときはページを読み込み直してください。";

// Every control, each caption made before the box that lies over it (later
// controls lie on top).
const std::vector<ControlRow> &form1Controls();
// The focusable controls in focus order, starting with the one that has
// the focus when the window is first shown.
const std::vector<ControlId> &form1FocusOrder();
// The control of that name, or -1.
ControlId controlNamed(std::string_view name);

// What a screen reader hears of a text box that shows `shown`.
std::string spokenBoxText(const ControlRow &box, std::string_view shown);
