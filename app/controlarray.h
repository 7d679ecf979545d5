#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <utility>

// Controls of one kind that share a handler, addressed by index as
// Text4(k) or Text1(i); indices run from First to Last. An index outside
// them is a fault of the program: it stops with a message in every build
// rather than reach another control.
template <typename Control, int First, int Last> class ControlArray {
public:
    // Each index's control as make(index) gives it.
    template <typename Make>
    explicit ControlArray(Make make)
        : controls_(build(make, std::make_integer_sequence<int, Last - First + 1>{}))
    {}

    Control operator()(int index) const { return controls_[offset(index)]; }
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

    template <typename Make, int... I>
    static std::array<Control, sizeof...(I)> build(Make &make, std::integer_sequence<int, I...>)
    {
        return {make(First + I)...};
    }

    std::array<Control, Last - First + 1> controls_;
};
