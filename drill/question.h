#pragma once

#include "drill/drillstate.h"
#include "drill/outside.h"

#include <string_view>

// The random draws and the arithmetic of a new question, one function per
// step so that the window's NewProblem reads as the sequence of its steps.

// The seconds of a "HH:MM:SS" clock reading: its last two characters read as
// a number, 0 to 59.
int clockSeconds(std::string_view timeOfDay);

// Seeds the generator with the clock's seconds.
void seedFromClock(RandomSource &random, const Clock &clock);

// 1 (current), 2 (voltage) or 3 (resistance): floor(3r + 0.5), drawn again
// while it is 0, so resistance comes half as often as each of the others.
double drawTaskType(RandomSource &random);

struct ResistorFactors {
    int a; // R1 = 10a, 1 to 9
    int b; // R2 = b R1, 1 to 4
};
// a = floor(10r), b = floor(5r), both drawn again whenever either is 0.
ResistorFactors drawResistorFactors(RandomSource &random);

// I2 in tenths of an ampere: floor(11r), drawn again while it is 0.
int drawCurrentTenths(RandomSource &random);

// (floor(15r) mod 5) + 1.
std::int32_t drawCaseNo(RandomSource &random);

// Stores R1, R2 and I2 from the drawn whole numbers and derives E, I1, I and
// R from them. Each result is rounded to float as it is stored, and each later
// step uses the stored values, so a value can lie one unit in the last place
// away from the float nearest its ideal decimal value.
void storeCircuit(DrillState &state, ResistorFactors factors, int currentTenths);
