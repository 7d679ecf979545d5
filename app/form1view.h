#pragma once

#include "app/form1controls.h"
#include "drill/outside.h"

#include <string>
#include <string_view>

// What the event map asks of a face: a passive view of the controls of the
// table, which shows what it is told and decides nothing. Texts are UTF-16,
// as the toolkits hold them, so that what a pupil typed comes back as it was.
class Form1View {
public:
    virtual ~Form1View() = default;

    virtual std::u16string controlText(ControlId control) const = 0;
    virtual void setControlText(ControlId control, std::u16string_view text) = 0;
    virtual void setControlVisible(ControlId control, bool visible) = 0;
    virtual void moveControl(ControlId control, int left, int top) = 0;

    // The surface the circuit is drawn on, and the word that a figure is
    // drawn on it and may be shown.
    virtual DrawingSurface &surface() = 0;
    virtual void figureDrawn() = 0;

    // For screen readers: a notice spoken whatever has the focus, and what a
    // text box says instead of its text until the text changes.
    virtual void say(const std::string &message) = 0;
    virtual void setSpokenText(ControlId box, const std::string &spoken) = 0;
};
