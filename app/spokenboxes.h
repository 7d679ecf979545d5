#pragma once

#include "app/form1controls.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the text boxes of the table say to a screen reader, for a face to
// hand to its toolkit. A box with a spoken form says it for whatever it
// shows, typed by the pupil or set by the drill ("0.5 アンペア"); a text the
// drill gives a box ("第3問の結果 × まちがい 正解は 0.8") holds until the
// box's text changes.
class SpokenBoxes {
public:
    SpokenBoxes();

    // The box now shows `text`: what it says from now on, or nothing when
    // that stays as it was, as for a box that says just what it shows.
    std::optional<std::string> shown(ControlId box, std::string_view text);
    // The drill gave the box a text of its own to say.
    void given(ControlId box);

private:
    std::vector<bool> given_;
};
