#pragma once

#include <cstdint>

// Everything the drill remembers during one run. The window owns one of these
// and its handlers read and write it in place.
struct DrillState {
    // The circuit of the current question, each value rounded to float as it
    // was stored; marking compares against exactly these numbers.
    float ValR = 0;  // combined resistance
    float ValR1 = 0; // first branch resistance
    float ValR2 = 0; // second branch resistance
    float ValE = 0;  // source voltage, also across each branch
    float ValI = 0;  // total current
    float ValI1 = 0; // current through R1
    float ValI2 = 0; // current through R2

    std::int16_t QuestionNo = 0;
    std::int16_t Score = 0;
    double TaskType = 0;     // 1 current, 2 voltage, 3 resistance
    std::int32_t CaseNo = 0; // 1 to 5: which quantities are given and asked
};

// The nine quantities a question can show, by slot index: caption Label2(k)
// and value box Text4(k).
enum Slot : int {
    SlotI = 0,
    SlotI1 = 1,
    SlotI2 = 2,
    SlotE = 3,
    SlotE1 = 4,
    SlotE2 = 5,
    SlotR1 = 6,
    SlotR2 = 7,
    SlotR = 8,
};
inline constexpr int SlotCount = 9;

// The stored value that slot k stands for. The branch voltages are the
// source voltage in a parallel circuit.
constexpr float slotValue(const DrillState &s, int slot)
{
    switch (slot) {
    case SlotI:
        return s.ValI;
    case SlotI1:
        return s.ValI1;
    case SlotI2:
        return s.ValI2;
    case SlotE:
    case SlotE1:
    case SlotE2:
        return s.ValE;
    case SlotR1:
        return s.ValR1;
    case SlotR2:
        return s.ValR2;
    default:
        return s.ValR;
    }
}
