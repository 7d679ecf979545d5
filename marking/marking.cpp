#include "marking/marking.h"

#include "drill/numbertext.h"

#include <cmath>

float expectedAnswer(const DrillState &state)
{
    if (state.TaskType == 1)
        return state.CaseNo == 4 ? state.ValI1 : state.ValI;
    if (state.TaskType == 2)
        return state.ValE;
    if (state.CaseNo > 3)
        return state.ValR1;
    return state.ValR;
}

bool isRightAnswer(double entry, float expected)
{
    const double x = expected;
    if (!std::isfinite(entry) || !std::isfinite(x))
        return false;
    return std::fabs(entry - x) <= 1e-6 * std::fabs(x);
}

std::int16_t scoreAfterMarking(std::int16_t score, bool wasRight, bool isRight)
{
    if (isRight && !wasRight)
        return static_cast<std::int16_t>(score + 10);
    if (!isRight && wasRight)
        return static_cast<std::int16_t>(score - 10);
    return score;
}

std::string correctAnswerCaption(float expected)
{
    return "正解は" + signedNumberText(expected);
}
