#pragma once

#include "drill/drillstate.h"

#include <array>
#include <initializer_list>
#include <span>

// One form of question: which slots are given, in the order they are shown,
// and which one is asked.
struct ProblemForm {
    std::array<int, 4> givenSlots;
    int givenCount;
    int askedSlot;

    constexpr std::span<const int> given() const
    {
        return std::span<const int>(givenSlots.data(), static_cast<std::size_t>(givenCount));
    }
};

struct TaskKind {
    const char *text; // the task text shown in Label4, UTF-8
    std::array<ProblemForm, 5> cases;
};

namespace presentation_detail {
constexpr ProblemForm give(std::initializer_list<int> given, int asked)
{
    ProblemForm f{{}, 0, asked};
    for (int s : given)
        f.givenSlots[static_cast<std::size_t>(f.givenCount++)] = s;
    return f;
}
} // namespace presentation_detail

// Find the current. Case 1 gives both branch currents, so that the pupil adds
// them at the junction.
inline constexpr TaskKind CurrentTask = [] {
    using presentation_detail::give;
    return TaskKind{"電流を求めよう",
                    {{
                        give({SlotI1, SlotI2}, SlotI),
                        give({SlotR1, SlotR2, SlotE}, SlotI),
                        give({SlotR1, SlotR2, SlotI1}, SlotI),
                        give({SlotR1, SlotR2, SlotE}, SlotI1),
                        give({SlotR1, SlotR2, SlotI2}, SlotI),
                    }}};
}();

inline constexpr TaskKind VoltageTask = [] {
    using presentation_detail::give;
    return TaskKind{"電圧を求めよう",
                    {{
                        give({SlotE1, SlotE2}, SlotE),
                        give({SlotR2, SlotI, SlotE1}, SlotE),
                        give({SlotR2, SlotI, SlotR1}, SlotE),
                        give({SlotR2, SlotI, SlotE}, SlotE1),
                        give({SlotR2, SlotR1, SlotE2}, SlotE1),
                    }}};
}();

inline constexpr TaskKind ResistanceTask = [] {
    using presentation_detail::give;
    return TaskKind{"抵抗を求めよう",
                    {{
                        give({SlotR2, SlotR1}, SlotR),
                        give({SlotI, SlotE1, SlotE2}, SlotR),
                        give({SlotE, SlotE1, SlotI2, SlotR1}, SlotR),
                        give({SlotI, SlotE1, SlotI2}, SlotR1),
                        give({SlotI, SlotE, SlotE2, SlotR2}, SlotR1),
                    }}};
}();

// The form of the given case; a case number outside 1 to 5 is case 1.
const ProblemForm &problemForm(const TaskKind &task, std::int32_t caseNo);
