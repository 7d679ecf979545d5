#pragma once

#include "app/form1.h"
#include "app/form1view.h"
#include "app/seededrandom.h"
#include "app/spokenboxes.h"
#include "app/web/diagrampixels.h"

#include <cstdint>
#include <emscripten/val.h>
#include <optional>
#include <string>
#include <vector>

// The time of day from the page's Date, in local time, so that a test can
// fix it before the module loads.
class BrowserClock final : public Clock {
public:
    std::string timeOfDay() const override;
};

// Form1's view and ending in the page: every call goes to the page object
// that page.js hands over, which holds the elements by control index.
class WebFace final : private Form1View, private Ending {
public:
    WebFace(emscripten::val page, double devicePixelRatio);

    Form1 &form() { return form1_; }

    // What the pupil typed into a box changes what it says, as what the
    // drill puts there does.
    void edited(ControlId control);
    void setDevicePixelRatio(double ratio);

private:
    std::u16string controlText(ControlId control) const override;
    void setControlText(ControlId control, std::u16string_view text) override;
    void setControlVisible(ControlId control, bool visible) override;
    void moveControl(ControlId control, int left, int top) override;
    DrawingSurface &surface() override { return surface_; }
    void figureDrawn() override;
    void say(const std::string &message) override;
    void setSpokenText(ControlId box, const std::string &spoken) override;
    void end() override;

    void nameFor(ControlId control, std::u16string_view text);

    emscripten::val page_;
    double ratio_;
    BrowserClock clock_;
    SeededRandom random_;
    PixelSurface surface_;
    double shownRatio_ = 0; // of the figure on the page's canvas
    DevicePixels pixels_;
    std::vector<std::uint8_t> rgba_;
    SpokenBoxes spoken_;
    Form1 form1_;
};

// The page shows one drill window, so the module owns one face, made when
// the page starts it. It is all the module keeps; the drill's own state is
// in its Form1.
std::optional<WebFace> &theFace();
