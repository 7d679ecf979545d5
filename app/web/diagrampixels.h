#pragma once

#include "drill/outside.h"

#include <cstdint>
#include <vector>

// The picture as device pixels, row by row: the palette index of the last
// line that covered each pixel, or NoPixel where no line did.
struct DevicePixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> colours;

    std::uint8_t at(int x, int y) const
    {
        return colours[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(x)];
    }
};

// Not a palette index, so a black line still shows.
inline constexpr std::uint8_t NoPixel = 0xFF;

// A surface that keeps the lines since the last clear, as the desktop
// window's canvas does, and turns them into the very device pixels that
// canvas paints, without any toolkit: a face whose own line drawing is
// antialiased, like a browser's, shows these pixels instead.
//
// Exact for what the drill draws: horizontal, vertical and 45-degree lines
// with whole-number ends, and points. Lines of other slopes come out close
// to the canvas's, but may differ by a pixel along their edges.
class PixelSurface final : public DrawingSurface {
public:
    // The size of the window in window pixels.
    PixelSurface(int width, int height);

    void clear() override;
    void line(float x1, float y1, float x2, float y2, int colour) override;
    void lineTo(float x, float y, int colour) override;

    // The lines at a device pixel ratio; one below 1 is taken as 1. Whole
    // and half ratios match the canvas. The storage of out is reused, so
    // drawing each new question into the same DevicePixels allocates
    // nothing.
    void render(double devicePixelRatio, DevicePixels &out) const;
    DevicePixels render(double devicePixelRatio) const;

    // The same lines as the other surface, so the same pixels at any ratio.
    bool sameLines(const PixelSurface &other) const { return lines_ == other.lines_; }

private:
    struct Line {
        float x1, y1, x2, y2;
        int colour;
        friend bool operator==(const Line &, const Line &) = default;
    };

    int width_;
    int height_;
    float currentX_ = 0;
    float currentY_ = 0;
    std::vector<Line> lines_;
};
