#pragma once

#include "drill/drillstate.h"

#include <cstdint>
#include <string>

// The stored value of the asked quantity: the current task expects I1 in case
// 4 and I otherwise, the voltage task always E (E1 equals E), the resistance
// task R1 in cases 4 and 5 and R otherwise.
float expectedAnswer(const DrillState &state);

// Whether the entry counts as the expected value. The stored values carry the
// rounding of single precision, so the decimal answer a pupil works out (0.9
// for a stored 0.90000004, 6.666667 for 20/3) is accepted within one part in
// a million; anything not finite is wrong.
bool isRightAnswer(double entry, float expected);

// The score after a question's mark changes: ten points per question marked
// right, however often it is marked.
std::int16_t scoreAfterMarking(std::int16_t score, bool wasRight, bool isRight);

// "正解は" and the expected value in signed number text, UTF-8.
std::string correctAnswerCaption(float expected);

inline constexpr const char *RightMark = "○";
inline constexpr const char *WrongMark = "×";
