// What the module hands the page: the table to build the window from, the
// start, and the events the page forwards, by control name.

#include "app/web/controltable.h"
#include "app/web/webface.h"

#include <emscripten/bind.h>

using emscripten::val;

namespace {

void start(val page, double devicePixelRatio)
{
    if (!theFace())
        theFace().emplace(std::move(page), devicePixelRatio);
}

void activate()
{
    theFace()->form().Form_Activate();
}

// A click on a button and Enter in a text box; the drill decides what they
// do. A name the table does not have is no control of the window.
void click(const std::string &name)
{
    if (const std::optional<ControlId> id = findControl(name))
        theFace()->form().buttonClicked(*id);
}

void enterPressed(const std::string &name)
{
    if (const std::optional<ControlId> id = findControl(name))
        theFace()->form().enterPressed(*id);
}

void edited(const std::string &name)
{
    if (const std::optional<ControlId> id = findControl(name))
        theFace()->edited(*id);
}

// The controls' names in the table's order, by which the page holds its
// elements: one string, as the page needs no more of the table to start.
std::string controlNames()
{
    std::string names;
    for (const ControlRow &row : form1Controls())
        names += (names.empty() ? "" : " ") + row.name;
    return names;
}

void setDevicePixelRatio(double ratio)
{
    theFace()->setDevicePixelRatio(ratio);
}

} // namespace

EMSCRIPTEN_BINDINGS(ohm_drill)
{
    emscripten::function("controlTable", &controlTable);
    emscripten::function("controlNames", &controlNames);
    emscripten::function("start", &start);
    emscripten::function("activate", &activate);
    emscripten::function("click", &click);
    emscripten::function("enterPressed", &enterPressed);
    emscripten::function("edited", &edited);
    emscripten::function("setDevicePixelRatio", &setDevicePixelRatio);
}
