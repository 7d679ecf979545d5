#pragma once

#include "drill/outside.h"

#include <random>

// The program's clock: the local time of day.
class SystemClock final : public Clock {
public:
    std::string timeOfDay() const override;
};

// A seedable generator of floats in [0, 1). The same seed gives the same
// sequence on every machine.
class SeededRandom final : public RandomSource {
public:
    void seed(int value) override;
    float next() override;

private:
    std::mt19937 engine_;
};

// Ends the program by leaving the event loop; main then returns 0.
class ApplicationEnding final : public Ending {
public:
    void end() override;
};

// Installs the message handler that turns a fatal Qt error (no display, say)
// into its message and exit status 1 instead of an abort with a core dump.
void installFatalMessageHandler();
