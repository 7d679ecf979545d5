#pragma once

#include "drill/outside.h"

#include <cstddef>
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
    // Disabled, yet its lettering must read at 4.5:1 against its box: the
    // row numbers and marks are a pupil's own results.
    bool readableWhenDisabled = false;
    bool visible = true;
    bool focusable = true;
    std::string accessibleName;
    std::string accessibleDescription;
    SpokenForm spoken = SpokenForm::AsShown;
    int index = -1; // its index in a control array, or -1
};

// A control of the table, by its place in it. It is had only from the
// table, by name or by going through it, so no bare number passes for one.
class ControlId {
public:
    std::size_t index() const { return index_; }
    friend bool operator==(ControlId, ControlId) = default;

private:
    explicit ControlId(std::size_t index) : index_(index) {}
    std::size_t index_;

    friend const std::vector<ControlId> &form1ControlIds();
};

// The program's version, as its release files are named.
inline constexpr std::string_view Version = OHM_VERSION;

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
// Every control of the table, in the table's order.
const std::vector<ControlId> &form1ControlIds();
// The row of a control.
const ControlRow &controlRow(ControlId control);
// The focusable controls in focus order, starting with the one that has
// the focus when the window is first shown.
const std::vector<ControlId> &form1FocusOrder();
// The control of that name, if the table has one.
std::optional<ControlId> findControl(std::string_view name);
// The control of that name, which the program knows the table has: a name
// that is not there is a fault of the program, and it stops at once with a
// message rather than address another control.
ControlId controlNamed(std::string_view name);

// What a screen reader hears of a text box that shows `shown`.
std::string spokenBoxText(const ControlRow &box, std::string_view shown);
