#pragma once

#include <string>
#include <string_view>
#include <vector>

// What the program says to a screen reader, as plain UTF-8 text. Numbers are
// read as a pupil writes them, with the zero before the point ("0.8").

// The unit word of slot k: アンペア, ボルト or オーム.
std::string spokenUnit(int slot);
// A value box as it is read: "0.5 アンペア", or "求める" for the asked one
// ("？"), or nothing for an empty box.
std::string spokenSlotValue(int slot, std::string_view shown);
// A new question: "第2問　電流を求めよう。電流 I1 0.3 アンペア、… 電流 I を求める".
// `given` holds name and shown value of each given slot in the order shown.
struct SpokenSlot {
    std::string name; // "電流 I1"
    int slot;
    std::string shown; // the box's text
};
std::string spokenQuestion(int questionNo, std::string_view taskText,
                           const std::vector<SpokenSlot> &given, const SpokenSlot &asked);
// The result of marking: "○　正解です。得点 10点" or "×　まちがい。正解は 0.8。得点 0点".
std::string spokenMarking(bool right, int score, float expected);
// The mark box of question N, which takes no focus and is met only in a
// review of the window, so it says whose it is: "第3問の結果 ○ 正解",
// "第4問の結果 × まちがい" (with " 正解は 0.8" after it when the correct
// value is given), "第5問の結果 まだ" while unmarked.
std::string spokenMark(int questionNo, std::string_view mark, std::string_view correct = {});
// The answer box's text as the number it makes: blanks dropped, a zero put
// before a leading point (" 2 5" is "25", " .5" is "0.5"); "なし" when empty.
std::string spokenEntry(std::string_view answerText);
// A keypad press: the key, then the answer it leaves ("5　答え 25").
std::string spokenKeyPress(int index, std::string_view answerText);
