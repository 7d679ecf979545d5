// The web face of Form1: the page's elements stand in for the controls of
// the table, and the page's script (page.js) only builds them from the table
// and forwards clicks and Enter. Which handler a click runs, what is shown,
// spoken and drawn is decided in C++, as on the desktop.

#include "app/web/webface.h"

#include "app/utf.h"
#include "app/web/pagemarkup.h"

#include <cstdio>

using emscripten::val;

namespace {

// The page holds its elements by their control's place in the table.
int index(ControlId control)
{
    return static_cast<int>(control.index());
}

} // namespace

std::string BrowserClock::timeOfDay() const
{
    const val now = val::global("Date").new_();
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", now.call<int>("getHours"),
                  now.call<int>("getMinutes"), now.call<int>("getSeconds"));
    return text;
}

WebFace::WebFace(val page, double devicePixelRatio)
    : page_(std::move(page)), ratio_(devicePixelRatio), surface_(WindowWidth, WindowHeight),
      form1_(*this, clock_, random_, *this)
{
    form1_.Form_Load();
}

void WebFace::edited(ControlId control)
{
    nameFor(control, controlText(control));
}

void WebFace::setDevicePixelRatio(double ratio)
{
    ratio_ = ratio;
    figureDrawn();
}

std::u16string WebFace::controlText(ControlId control) const
{
    return page_.call<std::u16string>("text", index(control));
}

void WebFace::setControlText(ControlId control, std::u16string_view text)
{
    page_.call<void>("setText", index(control), std::u16string(text));
    nameFor(control, text);
}

void WebFace::nameFor(ControlId control, std::u16string_view text)
{
    if (const std::optional<std::string> spoken = spoken_.shown(control, utf8(text)))
        page_.call<void>("setAccessibleName", index(control),
                         accessibleName(controlRow(control), *spoken));
}

void WebFace::setControlVisible(ControlId control, bool visible)
{
    page_.call<void>("setVisible", index(control), visible);
}

void WebFace::moveControl(ControlId control, int left, int top)
{
    page_.call<void>("move", index(control), left, top);
}

void WebFace::figureDrawn()
{
    const bool changed = surface_.takeChanges().has_value();
    if (!changed && shownRatio_ == ratio_)
        return;
    shownRatio_ = ratio_;
    // Only the part the lines cover is drawn anew; the rest stays clear.
    surface_.render(ratio_, pixels_, PixelSurface::Keep::Covered);
    rgbaOf(pixels_, rgba_);
    const DevicePixels::Part &part = pixels_.part;
    page_.call<void>("drawFigure", pixels_.width, pixels_.height, part.left, part.top, part.width,
                     part.height, val(emscripten::typed_memory_view(rgba_.size(), rgba_.data())));
}

void WebFace::say(const std::string &message)
{
    page_.call<void>("say", message);
}

void WebFace::setSpokenText(ControlId box, const std::string &spoken)
{
    spoken_.given(box);
    page_.call<void>("setAccessibleName", index(box), spoken);
}

void WebFace::end()
{
    // The line after the end keeps the run's result, for the pupil to show,
    // and says which version this is.
    page_.call<void>("end", std::string(EndedNotice),
                     form1_.runResult() + "　Ver." + std::string(Version));
}

std::optional<WebFace> &theFace()
{
    static std::optional<WebFace> face;
    return face;
}
