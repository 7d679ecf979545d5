#include "app/spokenboxes.h"

SpokenBoxes::SpokenBoxes() : given_(form1Controls().size(), false) {}

std::optional<std::string> SpokenBoxes::shown(ControlId box, std::string_view text)
{
    const ControlRow &row = controlRow(box);
    const bool wasGiven = given_[box.index()];
    given_[box.index()] = false;
    if (row.spoken == SpokenForm::AsShown && !wasGiven)
        return std::nullopt;
    return spokenBoxText(row, text);
}

void SpokenBoxes::given(ControlId box)
{
    given_[box.index()] = true;
}
