#include "app/linerecord.h"

void LineRecord::clear()
{
    currentX_ = currentY_ = 0;
    lines_.clear();
}

void LineRecord::line(float x1, float y1, float x2, float y2, int colour)
{
    lines_.push_back({x1, y1, x2, y2, colour});
    currentX_ = x2;
    currentY_ = y2;
}

void LineRecord::lineTo(float x, float y, int colour)
{
    line(currentX_, currentY_, x, y, colour);
}

std::optional<std::vector<LineRecord::Line>> LineRecord::takeChanges()
{
    if (lines_ == shown_)
        return std::nullopt;
    std::vector<Line> before = shown_;
    shown_ = lines_;
    return before;
}
