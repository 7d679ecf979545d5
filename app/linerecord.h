#pragma once

#include "drill/outside.h"

#include <optional>
#include <vector>

// A surface that keeps the lines drawn since the last clear, so that a face
// can draw them again whenever its toolkit asks, at whatever resolution, and
// knows when there is something new to show: most questions draw the very
// figure that is already shown.
class LineRecord : public DrawingSurface {
public:
    struct Line {
        float x1, y1, x2, y2;
        int colour;
        friend bool operator==(const Line &, const Line &) = default;
    };

    void clear() override;
    void line(float x1, float y1, float x2, float y2, int colour) override;
    void lineTo(float x, float y, int colour) override;

    const std::vector<Line> &lines() const { return lines_; }
    // The lines shown until now, when the lines differ from them; from then
    // on the lines count as shown. Nothing when they are shown already.
    std::optional<std::vector<Line>> takeChanges();

private:
    float currentX_ = 0;
    float currentY_ = 0;
    std::vector<Line> lines_;
    std::vector<Line> shown_;
};
