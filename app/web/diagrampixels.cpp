#include "app/web/diagrampixels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

// Which device pixels the desktop canvas (Qt 6, aliased, square caps) sets
// for a line, as found by painting lines of every direction and length at
// several ratios and comparing pixel for pixel:
//
// - Above ratio 1 the canvas moves each line to the centres of its end
//   pixels and strokes it with a pen one window pixel, ratio device pixels,
//   wide. The stroke is a rectangle reaching half a window pixel beyond each
//   end and to each side of the line. Qt fills it by taking every device
//   pixel whose centre lies inside: a centre exactly on the top or left
//   edge is left out, one on the bottom or right edge taken in.
// - At ratio 1 Qt steps along the line instead, one pixel per step with
//   both ends included. For horizontal, vertical and 45-degree lines with
//   whole-number ends those are exactly the pixels whose centres lie in the
//   same rectangle around the line through the pixel centres, so one rule
//   serves every ratio.
// - A point, a line of length zero, Qt strokes as a short horizontal line
//   from half a pen width left of it to half a pen width right, flat ended.
//   It takes that width in device pixels but lays it out in window pixels,
//   so the point is ratio times wider than tall: one pixel at ratio 1, four
//   by two at ratio 2.
//
// The long sides of a 45-degree stroke pass no pixel centre, and at whole
// and half ratios they pass far enough from every one that Qt's rounding
// of their corners to 1/64 pixel changes nothing; at 1.75 it moves the end
// of a few diagonals by a pixel.

namespace {

struct Point {
    double x, y;
};

constexpr double Far = std::numeric_limits<double>::infinity();

struct Span {
    int first, last;
};

// The pixels p, first <= p < end, whose centre p + 0.5 lies in (low, high].
// Clamped in double before the conversion, so a line far off the picture
// costs nothing and cannot overflow an int.
Span centresWithin(double low, double high, int first, int end)
{
    const double from = std::clamp(std::floor(low - 0.5) + 1, double(first), double(end));
    const double to = std::clamp(std::floor(high - 0.5), double(first) - 1, double(end) - 1);
    return {static_cast<int>(from), static_cast<int>(to)};
}

// The stroke of a line from a to b, in device pixels, corner after corner.
std::array<Point, 4> stroke(Point a, Point b, double ratio)
{
    const double pen = std::max(ratio, 1.0);
    const double half = pen / 2;
    if (a.x == b.x && a.y == b.y) {
        const double along = pen * half;
        return {{{a.x - along, a.y - half},
                 {a.x + along, a.y - half},
                 {a.x + along, a.y + half},
                 {a.x - along, a.y + half}}};
    }
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    // Half a pen width along the line, and across it.
    const Point u{(b.x - a.x) / length * half, (b.y - a.y) / length * half};
    const Point n{-u.y, u.x};
    return {{{a.x - u.x + n.x, a.y - u.y + n.y},
             {b.x + u.x + n.x, b.y + u.y + n.y},
             {b.x + u.x - n.x, b.y + u.y - n.y},
             {a.x - u.x - n.x, a.y - u.y - n.y}}};
}

void fill(const std::array<Point, 4> &corners, std::uint8_t colour, DevicePixels &out)
{
    const auto [top, bottom] =
        std::minmax({corners[0].y, corners[1].y, corners[2].y, corners[3].y});
    const DevicePixels::Part &part = out.part;
    const Span rows = centresWithin(top, bottom, part.top, part.top + part.height);
    for (int y = rows.first; y <= rows.last; ++y) {
        // Where the row's centre line crosses the outline; the stroke is
        // convex, so everything between the outermost crossings is inside.
        const double centre = y + 0.5;
        double left = Far, right = -Far;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const Point p = corners[i], q = corners[(i + 1) % corners.size()];
            if (centre < std::min(p.y, q.y) || centre > std::max(p.y, q.y))
                continue;
            if (p.y == q.y) { // the flat bottom of an upright stroke
                left = std::min({left, p.x, q.x});
                right = std::max({right, p.x, q.x});
                continue;
            }
            const double x = p.x + (centre - p.y) * (q.x - p.x) / (q.y - p.y);
            left = std::min(left, x);
            right = std::max(right, x);
        }
        const Span columns = centresWithin(left, right, part.left, part.left + part.width);
        if (columns.first > columns.last)
            continue;
        const auto row = out.colours.begin() +
                         static_cast<std::ptrdiff_t>(y - part.top) * part.width - part.left;
        std::fill(row + columns.first, row + columns.last + 1, colour);
    }
}

} // namespace

PixelSurface::PixelSurface(int width, int height) : width_(width), height_(height) {}

void PixelSurface::render(double devicePixelRatio, DevicePixels &out, Keep keep) const
{
    const double r = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    // Rounded as Qt sizes an image for a ratio.
    out.width = std::max(1, static_cast<int>(std::lround(width_ * r)));
    out.height = std::max(1, static_cast<int>(std::lround(height_ * r)));
    // Each drawable line's stroke, in device pixels, for its colour.
    auto eachStroke = [&](auto &&use) {
        for (const Line &l : lines()) {
            if (!std::isfinite(l.x1) || !std::isfinite(l.y1) || !std::isfinite(l.x2) ||
                !std::isfinite(l.y2))
                continue;
            const Point from{(l.x1 + 0.5) * r, (l.y1 + 0.5) * r};
            const Point to{(l.x2 + 0.5) * r, (l.y2 + 0.5) * r};
            use(stroke(from, to, r), static_cast<std::uint8_t>(l.colour & 15));
        }
    };
    DevicePixels::Part &part = out.part;
    if (keep == Keep::Whole) {
        part = {0, 0, out.width, out.height};
    } else {
        double left = Far, top = Far, right = -Far, bottom = -Far;
        eachStroke([&](const std::array<Point, 4> &corners, std::uint8_t) {
            for (const Point &p : corners) {
                left = std::min(left, p.x);
                top = std::min(top, p.y);
                right = std::max(right, p.x);
                bottom = std::max(bottom, p.y);
            }
        });
        const Span columns = centresWithin(left, right, 0, out.width);
        const Span rows = centresWithin(top, bottom, 0, out.height);
        part = {columns.first, rows.first, std::max(0, columns.last - columns.first + 1),
                std::max(0, rows.last - rows.first + 1)};
    }
    out.colours.assign(static_cast<std::size_t>(part.width) * static_cast<std::size_t>(part.height),
                       NoPixel);
    eachStroke([&](const std::array<Point, 4> &corners, std::uint8_t colour) {
        fill(corners, colour, out);
    });
}

DevicePixels PixelSurface::render(double devicePixelRatio) const
{
    DevicePixels out;
    render(devicePixelRatio, out);
    return out;
}

namespace {

using RgbaBytes = std::array<std::uint8_t, 4>;
constexpr std::array<RgbaBytes, 256> Rgba = [] {
    std::array<RgbaBytes, 256> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Rgb rgb = Palette[i % 16];
        table[i] = i == NoPixel ? RgbaBytes{} : RgbaBytes{rgb.red, rgb.green, rgb.blue, 255};
    }
    return table;
}();

} // namespace

// One look-up per device pixel of the part kept.
void rgbaOf(const DevicePixels &pixels, std::vector<std::uint8_t> &rgba)
{
    const std::size_t count = pixels.colours.size();
    rgba.resize(count * 4);
    const std::uint8_t *colour = pixels.colours.data();
    std::uint8_t *out = rgba.data();
    for (std::size_t i = 0; i < count; ++i, out += 4)
        std::memcpy(out, &Rgba[colour[i]], 4);
}
