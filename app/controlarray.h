#pragma once

#include <array>
#include <cassert>

// Controls of one kind that share a handler, addressed by index as
// Text4(k) or Text1(i); indices run from First to Last.
template <typename Control, int First, int Last> class ControlArray {
public:
    Control *operator()(int index) const
    {
        assert(index >= First && index <= Last);
        return controls_[static_cast<std::size_t>(index - First)];
    }
    void set(int index, Control *control)
    {
        controls_[static_cast<std::size_t>(index - First)] = control;
    }
    static constexpr int first() { return First; }
    static constexpr int last() { return Last; }

private:
    std::array<Control *, Last - First + 1> controls_{};
};
