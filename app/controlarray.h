#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

// Controls of one kind that share a handler, addressed by index as
// Text4(k) or Text1(i); indices run from First to Last. An index outside
// them is a fault of the program: it stops with a message in every build
// rather than reach another control.
template <typename Control, int First, int Last> class ControlArray {
public:
    Control operator()(int index) const { return controls_[offset(index)]; }
    void set(int index, Control control) { controls_[offset(index)] = control; }
    static constexpr int first() { return First; }
    static constexpr int last() { return Last; }

private:
    static std::size_t offset(int index)
    {
        if (index < First || index > Last) [[unlikely]] {
            std::fprintf(stderr, "control array index %d outside %d to %d\n", index, First, Last);
            std::fflush(stderr);
            std::_Exit(EXIT_FAILURE);
        }
        return static_cast<std::size_t>(index - First);
    }

    std::array<Control, Last - First + 1> controls_{};
};
