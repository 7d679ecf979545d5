#pragma once

#include "drill/services.h"

#include <QImage>
#include <QPointF>

// The drawing surface the circuit is drawn on: an image the size of the
// window's client area at device resolution, which the window paints from on
// every repaint, so the picture survives covering and minimising.
class Canvas final : public DrawingSurface {
public:
    Canvas(QSize size, qreal devicePixelRatio);

    void clear() override;
    void line(float x1, float y1, float x2, float y2, int colour) override;
    void lineTo(float x, float y, int colour) override;

    const QImage &image() const { return image_; }

private:
    QImage image_;
    QPointF current_;
};
