#pragma once

#include "app/linerecord.h"

#include <QImage>
#include <QRect>

class QPainter;
class QRegion;

// The surface the circuit is drawn on: the lines since the last clear,
// drawn again by the window's paint event wherever the window is
// exposed, so the picture survives covering and minimising, and is drawn at
// the resolution of whatever screen the window is on. A line is one window
// pixel wide without antialiasing, both ends included, so at any scale it
// covers the same pixels of the window, only in finer device pixels.
class Canvas final : public LineRecord {
public:
    explicit Canvas(QSize size);

    // Draws the lines that cross the exposed part of the window.
    void paint(QPainter &painter, const QRegion &exposed) const;
    // Where the picture changed since the last call, in window pixels:
    // nothing when the same figure was drawn again after a clear.
    QRect takeChanges();
    // The picture alone on a transparent image, as paint() draws it on a
    // window of that device pixel ratio.
    QImage image(qreal devicePixelRatio = 1.0) const;

private:
    QSize size_;
};
