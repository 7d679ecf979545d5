#pragma once

#include "drill/outside.h"

#include <array>

// One end of a diagram segment. Each of the six passes adds the pass number
// k to the coordinates marked as shifted, which is what thickens the strokes:
// wires move diagonally, resistor strokes down, source plates right.
struct DiagramPoint {
    int x;
    int y;
    bool shiftX;
    bool shiftY;

    constexpr float atX(int k) const { return static_cast<float>(shiftX ? x + k : x); }
    constexpr float atY(int k) const { return static_cast<float>(shiftY ? y + k : y); }
};

struct DiagramSegment {
    bool fromCurrentPoint; // starts where the previous segment ended
    DiagramPoint start;    // unused when fromCurrentPoint
    DiagramPoint end;
};

inline constexpr int DiagramPasses = 6;

namespace diagram_detail {
constexpr DiagramPoint wire(int x, int y)
{
    return {x, y, true, true};
} // (x+k, y+k)
constexpr DiagramPoint stroke(int x, int y)
{
    return {x, y, false, true};
} // (x, y+k)
constexpr DiagramPoint plate(int x, int y)
{
    return {x, y, true, false};
} // (x+k, y)
constexpr DiagramSegment from(DiagramPoint a, DiagramPoint b)
{
    return {false, a, b};
}
constexpr DiagramSegment to(DiagramPoint b)
{
    return {true, {}, b};
}
} // namespace diagram_detail

// The parallel circuit: source at the bottom, R1 on the upper branch, R2 on
// the lower one, in drawing order.
inline constexpr std::array<DiagramSegment, 30> DiagramSegments = [] {
    using namespace diagram_detail;
    return std::array<DiagramSegment, 30>{{
        from(wire(50, 130), wire(130, 130)),      //  1 top wire, left part
        to(wire(130, 80)),                        //  2 up to the upper branch
        to(stroke(180, 80)),                      //  3 lead to R1
        from(stroke(180, 80), stroke(200, 60)),   //  4 R1 zigzag
        to(stroke(240, 100)),                     //  5
        to(stroke(280, 60)),                      //  6
        from(stroke(280, 60), stroke(320, 100)),  //  7
        to(stroke(360, 60)),                      //  8
        to(stroke(400, 100)),                     //  9
        from(stroke(400, 100), stroke(420, 80)),  // 10
        to(wire(470, 80)),                        // 11 lead from R1
        to(wire(470, 130)),                       // 12 down to the right junction
        from(wire(470, 130), wire(550, 130)),     // 13 top wire, right part
        from(wire(130, 130), wire(130, 180)),     // 14 down to the lower branch
        to(stroke(180, 180)),                     // 15 lead to R2
        to(stroke(200, 160)),                     // 16 R2 zigzag
        from(stroke(200, 160), stroke(240, 200)), // 17
        to(stroke(280, 160)),                     // 18
        to(stroke(320, 200)),                     // 19
        from(stroke(320, 200), stroke(360, 160)), // 20
        to(stroke(400, 200)),                     // 21
        to(stroke(420, 180)),                     // 22
        from(stroke(420, 180), wire(470, 180)),   // 23 lead from R2
        to(wire(470, 130)),                       // 24 up to the right junction
        from(wire(550, 130), wire(550, 300)),     // 25 right wire
        to(wire(310, 300)),                       // 26 bottom wire to the short plate
        from(wire(290, 300), wire(50, 300)),      // 27 bottom wire from the long plate
        to(wire(50, 130)),                        // 28 left wire
        from(plate(310, 290), plate(310, 316)),   // 29 source, short plate
        from(plate(290, 270), plate(290, 336)),   // 30 source, long plate
    }};
}();

// Draws the circuit in light cyan: the thirty segments, six times over with
// growing shifts. Does not clear first.
void drawCircuitDiagram(DrawingSurface &surface);
