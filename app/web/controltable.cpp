#include "app/web/controltable.h"

#include "app/web/pagemarkup.h"

#include <string>

using emscripten::val;

namespace {

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
    const PageColours colours = pageColours(row);
    c.set("background", colours.background.empty() ? val::null() : val(colours.background));
    c.set("letters", colours.letters.empty() ? val::null() : val(colours.letters));
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
    table.set("version", std::string(Version));
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
