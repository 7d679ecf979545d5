// The web face of Form1: the page's elements stand in for the controls of
// the table, and the page's script (page.js) only builds them from the table
// handed out here and forwards clicks and Enter. Which handler a click runs,
// what is shown, spoken and drawn is decided in C++, as on the desktop.

#include "app/contrast.h"
#include "app/form1.h"
#include "app/form1controls.h"
#include "app/form1view.h"
#include "app/seededrandom.h"
#include "app/utf.h"
#include "app/web/diagrampixels.h"
#include "drill/numbertext.h"
#include "marking/answer.h"
#include "marking/marking.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <optional>
#include <string>
#include <vector>

using emscripten::val;

namespace {

// The time of day from the page's Date, in local time, so that a test can
// fix it before the module loads.
class BrowserClock final : public Clock {
public:
    std::string timeOfDay() const override
    {
        const val now = val::global("Date").new_();
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", now.call<int>("getHours"),
                      now.call<int>("getMinutes"), now.call<int>("getSeconds"));
        return text;
    }
};

std::string cssColour(Rgb rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", rgb.red, rgb.green, rgb.blue);
    return text;
}

val optionalColour(const std::optional<Rgb> &rgb)
{
    return rgb ? val(cssColour(*rgb)) : val::null();
}

// The family names make-fonts.py gives the program's own faces; the page's
// style sheet declares them on its woff2 files.
const char *fontFamily(TypeFace face)
{
    return face == TypeFace::Fixed ? "OhmDrill Gothic" : "OhmDrill PGothic";
}

const char *kindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::TextBox:
        return "textBox";
    case ControlKind::Button:
        return "button";
    case ControlKind::Label:
        break;
    }
    return "label";
}

const char *alignName(TextAlign align)
{
    switch (align) {
    case TextAlign::Centre:
        return "center";
    case TextAlign::Right:
        return "right";
    case TextAlign::Left:
        break;
    }
    return "left";
}

// A disabled box looks as in the desktop's standard scheme: grey lettering
// on light grey, and the row numbers and marks, a pupil's own results, in a
// grey dark enough to read.
constexpr Rgb DisabledBase{239, 239, 239};
constexpr Rgb DisabledLetters{190, 190, 190};
constexpr Rgb EnabledLetters{0, 0, 0};

Rgb readableDisabledLetters()
{
    auto colour = [](Rgb c) { return Colour{c.red / 255.0, c.green / 255.0, c.blue / 255.0}; };
    const Colour letters =
        readableLetters(colour(DisabledBase), colour(DisabledLetters), colour(EnabledLetters));
    auto byte = [](double v) { return static_cast<std::uint8_t>(v * 255 + 0.5); };
    return {byte(letters.red), byte(letters.green), byte(letters.blue)};
}

// Each device pixel's colour index as the canvas's red, green, blue and
// alpha; where no line is drawn the pixel is clear and the window's black
// shows through.
using RgbaBytes = std::array<std::uint8_t, 4>;
constexpr std::array<RgbaBytes, 256> Rgba = [] {
    std::array<RgbaBytes, 256> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Rgb rgb = i == NoPixel ? WindowBackground : Palette[i % 16];
        table[i] = {rgb.red, rgb.green, rgb.blue, std::uint8_t(i == NoPixel ? 0 : 255)};
    }
    return table;
}();

// What a screen reader is told a control is. A page cannot give a box a
// spoken value apart from its text, so a box with a spoken form of its own
// says it in its name: "電流 I1 0.5 アンペア", "得点 10 点".
std::string accessibleNameShowing(const ControlRow &row, std::string_view shown)
{
    const std::string spoken = spokenBoxText(row, shown);
    if (row.spoken == SpokenForm::AsShown || spoken.empty())
        return row.accessibleName;
    if (spoken.starts_with(row.accessibleName))
        return spoken;
    return row.accessibleName + " " + spoken;
}

val controlObject(const ControlRow &row)
{
    val c = val::object();
    c.set("name", row.name);
    c.set("kind", kindName(row.kind));
    c.set("caption", row.caption);
    val rect = val::object();
    rect.set("left", row.rect.left);
    rect.set("top", row.rect.top);
    rect.set("width", row.rect.width);
    rect.set("height", row.rect.height);
    c.set("rect", rect);
    c.set("fontFamily", fontFamily(row.face));
    c.set("pixelSize", row.pixelSize);
    c.set("bold", row.bold);
    c.set("align", alignName(row.align));
    if (row.kind == ControlKind::TextBox && !row.enabled) {
        c.set("background", cssColour(DisabledBase));
        c.set("letters", cssColour(row.index >= 0 ? readableDisabledLetters() : DisabledLetters));
    } else {
        c.set("background", optionalColour(row.background));
        c.set("letters", optionalColour(row.letters));
    }
    c.set("enabled", row.enabled);
    c.set("visible", row.visible);
    c.set("focusable", row.focusable);
    c.set("accessibleName", row.accessibleName);
    c.set("accessibleDescription", row.accessibleDescription);
    c.set("spoken", row.spoken != SpokenForm::AsShown);
    c.set("index", row.index);
    return c;
}

// The window and its controls, for the page to build and the tests to
// check the page against.
val controlTable()
{
    val table = val::object();
    table.set("caption", std::string(WindowCaption));
    table.set("width", WindowWidth);
    table.set("height", WindowHeight);
    table.set("background", cssColour(WindowBackground));
    table.set("endedNotice", std::string(EndedNotice));
    val controls = val::array();
    for (const ControlRow &row : form1Controls())
        controls.call<void>("push", controlObject(row));
    table.set("controls", controls);
    val order = val::array();
    for (ControlId id : form1FocusOrder())
        order.call<void>("push", form1Controls()[static_cast<std::size_t>(id)].name);
    table.set("focusOrder", order);
    return table;
}

// Form1's view and ending in the page: every call goes to the page object
// that page.js hands over, which holds the elements by control index.
class WebFace final : private Form1View, private Ending {
public:
    WebFace(val page, double devicePixelRatio)
        : page_(std::move(page)), ratio_(devicePixelRatio), surface_(WindowWidth, WindowHeight),
          renamed_(form1Controls().size(), false), form1_(*this, clock_, random_, *this)
    {
        form1_.Form_Load();
    }

    Form1 &form() { return form1_; }

    // What the pupil typed into a box changes what it says, as what the
    // drill puts there does.
    void edited(ControlId control) { nameFor(control, controlText(control)); }

    void setDevicePixelRatio(double ratio)
    {
        ratio_ = ratio;
        figureDrawn();
    }

private:
    std::u16string controlText(ControlId control) const override
    {
        return page_.call<std::u16string>("text", control);
    }

    void setControlText(ControlId control, std::u16string_view text) override
    {
        page_.call<void>("setText", control, std::u16string(text));
        nameFor(control, text);
    }

    // What a box says instead of its text holds until the text changes.
    void nameFor(ControlId control, std::u16string_view text)
    {
        const auto index = static_cast<std::size_t>(control);
        const ControlRow &row = form1Controls()[index];
        if (renamed_[index] || row.spoken != SpokenForm::AsShown) {
            renamed_[index] = false;
            page_.call<void>("setAccessibleName", control, accessibleNameShowing(row, utf8(text)));
        }
    }

    void setControlVisible(ControlId control, bool visible) override
    {
        page_.call<void>("setVisible", control, visible);
    }

    void moveControl(ControlId control, int left, int top) override
    {
        page_.call<void>("move", control, left, top);
    }

    DrawingSurface &surface() override { return surface_; }

    void figureDrawn() override
    {
        // Most questions draw the very circuit the last one drew.
        if (shown_ && shownRatio_ == ratio_ && surface_.sameLines(*shown_))
            return;
        shown_ = surface_;
        shownRatio_ = ratio_;
        surface_.render(ratio_, pixels_);
        // One look-up per device pixel: a new question repaints the whole
        // figure, half a million pixels at ratio 2.
        const std::size_t count = pixels_.colours.size();
        rgba_.resize(count * 4);
        const std::uint8_t *colour = pixels_.colours.data();
        std::uint8_t *out = rgba_.data();
        for (std::size_t i = 0; i < count; ++i, out += 4)
            std::memcpy(out, &Rgba[colour[i]], 4);
        page_.call<void>("drawFigure", pixels_.width, pixels_.height,
                         val(emscripten::typed_memory_view(rgba_.size(), rgba_.data())));
    }

    void say(const std::string &message) override { page_.call<void>("say", message); }

    void setSpokenText(ControlId box, const std::string &spoken) override
    {
        renamed_[static_cast<std::size_t>(box)] = true;
        page_.call<void>("setAccessibleName", box, spoken);
    }

    void end() override { page_.call<void>("end"); }

    val page_;
    double ratio_;
    BrowserClock clock_;
    SeededRandom random_;
    PixelSurface surface_;
    std::optional<PixelSurface> shown_; // the lines on the canvas, at shownRatio_
    double shownRatio_ = 0;
    DevicePixels pixels_;
    std::vector<std::uint8_t> rgba_;
    std::vector<bool> renamed_;
    Form1 form1_;
};

// The page shows one drill window, so the module owns one face, made when
// the page starts it. It is all the module keeps; the drill's own state is
// in its Form1.
std::optional<WebFace> &theFace()
{
    static std::optional<WebFace> face;
    return face;
}

void start(val page, double devicePixelRatio)
{
    if (!theFace())
        theFace().emplace(std::move(page), devicePixelRatio);
}

void activate()
{
    theFace()->form().Form_Activate();
}

// A click on a button and Enter in a text box, by the control's name; the
// drill decides what they do.
void click(const std::string &name)
{
    const ControlId id = controlNamed(name);
    if (id >= 0)
        theFace()->form().buttonClicked(id);
}

void enterPressed(const std::string &name)
{
    const ControlId id = controlNamed(name);
    if (id >= 0)
        theFace()->form().enterPressed(id);
}

void edited(const std::string &name)
{
    const ControlId id = controlNamed(name);
    if (id >= 0)
        theFace()->edited(id);
}

void setDevicePixelRatio(double ratio)
{
    theFace()->setDevicePixelRatio(ratio);
}

// For the tests: the answer the current question expects, as a pupil would
// type it, and the number a text reads as.
std::string expectedAnswerText()
{
    return plainNumberText(expectedAnswer(theFace()->form().drillState()));
}

double answerReads(const std::u16string &text)
{
    return readAnswer(text);
}

} // namespace

EMSCRIPTEN_BINDINGS(ohm_drill)
{
    emscripten::function("controlTable", &controlTable);
    emscripten::function("start", &start);
    emscripten::function("activate", &activate);
    emscripten::function("click", &click);
    emscripten::function("enterPressed", &enterPressed);
    emscripten::function("edited", &edited);
    emscripten::function("setDevicePixelRatio", &setDevicePixelRatio);
    emscripten::function("expectedAnswerText", &expectedAnswerText);
    emscripten::function("answerReads", &answerReads);
}
