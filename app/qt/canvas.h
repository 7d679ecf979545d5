#pragma once

#include "drill/outside.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <vector>

class QPainter;
class QRegion;

// The surface the circuit is drawn on: the lines since the last clear, kept
// and drawn again by the window's paint event wherever the window is
// exposed, so the picture survives covering and minimising, and is drawn at
// the resolution of whatever screen the window is on. A line is one window
// pixel wide without antialiasing, both ends included, so at any scale it
// covers the same pixels of the window, only in finer device pixels.
class Canvas final : public DrawingSurface {
public:
    explicit Canvas(QSize size);

    void clear() override;
    void line(float x1, float y1, float x2, float y2, int colour) override;
    void lineTo(float x, float y, int colour) override;

    // Draws the lines that cross the exposed part of the window.
    void paint(QPainter &painter, const QRegion &exposed) const;
    // Where the picture changed since the last call, in window pixels:
    // nothing when the same figure was drawn again after a clear.
    QRect takeChanges();
    // The picture alone on a transparent image, as paint() draws it on a
    // window of that device pixel ratio.
    QImage image(qreal devicePixelRatio = 1.0) const;

private:
    struct Line {
        QPointF from;
        QPointF to;
        int colour;
        QRect bounds() const;
        friend bool operator==(const Line &, const Line &) = default;
    };

    QSize size_;
    QPointF current_;
    std::vector<Line> lines_;
    std::vector<Line> shown_; // as of the last takeChanges()
};
