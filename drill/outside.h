#pragma once

#include <array>
#include <cstdint>
#include <string>

// What the drill needs from the outside world, kept small so that tests can
// stand in a fixed clock, a scripted random sequence or a recording surface.

class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    // Erases everything and moves the current point to the origin.
    virtual void clear() = 0;
    // A straight line from (x1, y1) to (x2, y2), both ends included; the
    // current point moves to the end.
    virtual void line(float x1, float y1, float x2, float y2, int colour) = 0;
    // A line from the current point to (x, y).
    virtual void lineTo(float x, float y, int colour) = 0;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seed(int value) = 0;
    // The next value v, 0 <= v < 1.
    virtual float next() = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // The time of day as "HH:MM:SS".
    virtual std::string timeOfDay() const = 0;
};

class Ending {
public:
    virtual ~Ending() = default;
    // Ends the program; the caller returns at once and nothing else runs.
    virtual void end() = 0;
};

struct Rgb {
    std::uint8_t red, green, blue;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// The sixteen colours of the classic text-mode palette, by index.
inline constexpr std::array<Rgb, 16> Palette = {{
    {0, 0, 0},
    {0, 0, 128},
    {0, 128, 0},
    {0, 128, 128},
    {128, 0, 0},
    {128, 0, 128},
    {128, 128, 0},
    {192, 192, 192},
    {128, 128, 128},
    {0, 0, 255},
    {0, 255, 0},
    {0, 255, 255},
    {255, 0, 0},
    {255, 0, 255},
    {255, 255, 0},
    {255, 255, 255},
}};

inline constexpr int LightCyan = 11;
