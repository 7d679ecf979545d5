#pragma once

#include "app/seededrandom.h"
#include "drill/outside.h"

#include <string>

// The program's clock: the local time of day.
class SystemClock final : public Clock {
public:
    std::string timeOfDay() const override;
};

// Ends the program by leaving the event loop; main then returns 0.
class ApplicationEnding final : public Ending {
public:
    void end() override;
};

// Installs the message handler that turns a fatal Qt error (no display, say)
// into its message and exit status 1 instead of an abort with a core dump.
void installFatalMessageHandler();
