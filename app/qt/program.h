#pragma once

#include <functional>

class Form1Window;

// The desktop program from start to end: the application, the drill's
// window and the event loop. `beforeShow` sees the window once it is made,
// before it is shown; the program itself passes nothing.
int runProgram(int argc, char *argv[], const std::function<void(Form1Window &)> &beforeShow = {});
