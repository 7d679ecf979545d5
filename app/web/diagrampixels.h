#pragma once

#include "app/linerecord.h"

#include <cstdint>
#include <vector>

// Not a palette index, so a black line still shows.
inline constexpr std::uint8_t NoPixel = 0xFF;

// The picture as device pixels: the palette index of the last line that
// covered each pixel, or NoPixel where no line did. Only the part kept is
// stored, row by row; every pixel outside it is NoPixel.
struct DevicePixels {
    struct Part {
        int left = 0, top = 0, width = 0, height = 0;
    };
    int width = 0; // of the whole picture
    int height = 0;
    Part part;
    std::vector<std::uint8_t> colours;

    std::uint8_t at(int x, int y) const
    {
        x -= part.left;
        y -= part.top;
        if (x < 0 || y < 0 || x >= part.width || y >= part.height)
            return NoPixel;
        return colours[static_cast<std::size_t>(y) * static_cast<std::size_t>(part.width) +
                       static_cast<std::size_t>(x)];
    }
};

// The lines of a record turned into the very device pixels that the
// desktop window's canvas paints, without any toolkit: a face whose own line
// drawing is antialiased, like a browser's, shows these pixels instead.
//
// Exact for what the drill draws: horizontal, vertical and 45-degree lines
// with whole-number ends, and points. Lines of other slopes come out close
// to the canvas's, but may differ by a pixel along their edges.
class PixelSurface final : public LineRecord {
public:
    // The size of the window in window pixels.
    PixelSurface(int width, int height);

    // The lines at a device pixel ratio, as the whole picture or only the
    // part the lines cover, which is all a face must draw anew. Whole and
    // half ratios match the canvas; below 1 the pen stays one device pixel
    // wide, so no line is lost. The storage of out is reused, so drawing
    // each new question into the same DevicePixels allocates nothing.
    enum class Keep { Whole, Covered };
    void render(double devicePixelRatio, DevicePixels &out, Keep keep = Keep::Whole) const;
    DevicePixels render(double devicePixelRatio) const;

private:
    int width_;
    int height_;
};

// The pixels as a canvas's red, green, blue and alpha bytes, into storage
// that is reused: a line's pixel in its palette colour, opaque, and a pixel
// no line covers clear, so the window's black shows through.
void rgbaOf(const DevicePixels &pixels, std::vector<std::uint8_t> &rgba);
