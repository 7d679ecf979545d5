#include "app/spokentext.h"

#include "drill/numbertext.h"
#include "drill/presentation.h"
#include "marking/keypad.h"
#include "marking/marking.h"

std::string spokenUnit(int slot)
{
    if (slot <= SlotI2)
        return "アンペア";
    if (slot <= SlotE2)
        return "ボルト";
    return "オーム";
}

std::string spokenSlotValue(int slot, std::string_view shown)
{
    if (shown.empty())
        return {};
    if (shown == "？")
        return "求める";
    return std::string(shown) + ' ' + spokenUnit(slot);
}

std::string spokenQuestion(int questionNo, std::string_view taskText,
                           const std::vector<SpokenSlot> &given, const SpokenSlot &asked)
{
    std::string text = "第" + std::to_string(questionNo) + "問　" + std::string(taskText) + "。";
    for (const SpokenSlot &s : given)
        text += s.name + ' ' + spokenSlotValue(s.slot, s.shown) + "、";
    return text + asked.name + " を求める";
}

std::string spokenMarking(bool right, int score, float expected)
{
    const std::string points = "得点 " + std::to_string(score) + "点";
    if (right)
        return std::string(RightMark) + "　正解です。" + points;
    return std::string(WrongMark) + "　まちがい。正解は " + plainNumberText(expected) + "。" +
           points;
}

std::string spokenMark(int questionNo, std::string_view mark, std::string_view correct)
{
    const std::string box = "第" + std::to_string(questionNo) + "問の結果 ";
    if (mark == RightMark)
        return box + RightMark + " 正解";
    if (mark == WrongMark)
        return box + WrongMark + " まちがい" +
               (correct.empty() ? "" : " 正解は " + std::string(correct));
    return box + "まだ";
}

std::string spokenEntry(std::string_view answerText)
{
    std::string number;
    for (char c : answerText)
        if (c != ' ')
            number += c;
    if (number.empty())
        return "なし";
    if (number.front() == '.')
        number.insert(0, 1, '0');
    return number;
}

std::string spokenKeyPress(int index, std::string_view answerText)
{
    const std::string key = index == ClearKey   ? "クリア"
                            : index == PointKey ? "小数点"
                                                : std::to_string(index);
    return key + "　答え " + spokenEntry(answerText);
}
