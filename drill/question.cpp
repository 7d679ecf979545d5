#include "drill/question.h"

#include <cfloat>
#include <cmath>

// Every float operation below must round to float at once; a wider
// evaluation would store different values than the pupil is marked against.
static_assert(FLT_EVAL_METHOD == 0, "float arithmetic must be evaluated in float");

int clockSeconds(std::string_view timeOfDay)
{
    const std::string_view seconds =
        timeOfDay.size() >= 2 ? timeOfDay.substr(timeOfDay.size() - 2) : timeOfDay;
    int value = 0;
    for (char c : seconds) {
        if (c == ' ' && value == 0)
            continue;
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
    }
    return value;
}

void seedFromClock(RandomSource &random, const Clock &clock)
{
    random.seed(clockSeconds(clock.timeOfDay()));
}

double drawTaskType(RandomSource &random)
{
    double t;
    do {
        t = std::floor(3.0 * double(random.next()) + 0.5);
    } while (t < 1 || t > 3);
    return t;
}

ResistorFactors drawResistorFactors(RandomSource &random)
{
    ResistorFactors f;
    do {
        f.a = static_cast<int>(std::floor(10.0 * double(random.next())));
        f.b = static_cast<int>(std::floor(5.0 * double(random.next())));
    } while (f.a == 0 || f.b == 0);
    return f;
}

int drawCurrentTenths(RandomSource &random)
{
    int k;
    do {
        k = static_cast<int>(std::floor(11.0 * double(random.next())));
    } while (k == 0);
    return k;
}

std::int32_t drawCaseNo(RandomSource &random)
{
    const auto n = static_cast<std::int32_t>(std::floor(15.0 * double(random.next())));
    return n % 5 + 1;
}

void storeCircuit(DrillState &state, ResistorFactors factors, int currentTenths)
{
    state.ValR1 = static_cast<float>(10 * factors.a);
    state.ValR2 = static_cast<float>(factors.a * factors.b * 10);
    state.ValI2 = static_cast<float>(currentTenths) / 10.0f;
    state.ValE = state.ValR2 * state.ValI2;
    state.ValI1 = state.ValE / state.ValR1;
    state.ValI = state.ValI1 + state.ValI2;
    state.ValR = state.ValE / state.ValI;
}
