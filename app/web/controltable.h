#pragma once

#include <emscripten/val.h>

// The window and its controls as the page builds them, and as the tests
// check the page against: caption, size, every control's row with its CSS
// colours and font family, and the focus order by name.
emscripten::val controlTable();
