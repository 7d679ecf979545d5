#include "app/web/controltable.h"

#include "app/contrast.h"
#include "app/form1controls.h"

#include <cstdio>
#include <optional>
#include <string>

using emscripten::val;

namespace {

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
// on light grey, or a grey dark enough to read where it must.
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
        c.set("letters",
              cssColour(row.readableWhenDisabled ? readableDisabledLetters() : DisabledLetters));
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

} // namespace

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
        order.call<void>("push", controlRow(id).name);
    table.set("focusOrder", order);
    return table;
}
