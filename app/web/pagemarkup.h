#pragma once

#include "app/form1controls.h"

#include <string>
#include <string_view>

// How the page shows the table, in plain C++: the same rules build the
// page's markup when the site is built and the table the page's script
// reads when it runs.

std::string cssColour(Rgb rgb);
// The family names make-fonts.py gives the program's own faces; the page's
// style sheet declares them on its woff2 files.
const char *fontFamily(TypeFace face);

// A control's colours on the page: its own, or for a disabled box those of
// the desktop's standard scheme; empty where the browser's own stay.
struct PageColours {
    std::string background;
    std::string letters;
};
PageColours pageColours(const ControlRow &row);

// What a screen reader is told a control is. A page cannot give a box a
// spoken value apart from its text, so a box with a spoken form of its own
// says it in its name: "電流 I1 0.5 アンペア", "得点 10 点".
std::string accessibleName(const ControlRow &row, const std::string &spoken);

// The window as it stands once started, before its first question, as the
// page's markup: the same controls, places, texts and names the module
// gives the page, so the page is seen whole before the module is loaded.
std::string windowMarkup();

// The page: the template with the window's caption put in for @CAPTION@
// and its markup for @WINDOW@.
std::string pageMarkup(std::string_view pageTemplate);
