#pragma once

#include "drill/services.h"

#include <QImage>
#include <QPointF>
#include <vector>

// The drawing surface the circuit is drawn on: an image the size of the
// window's client area at device resolution, which the window paints from on
// every repaint, so the picture survives covering and minimising. The lines
// since the last clear are kept, so the picture can be drawn again sharp when
// the window moves to a screen of another scale.
class Canvas final : public DrawingSurface {
public:
    Canvas(QSize size, qreal devicePixelRatio);

    void clear() override;
    void line(float x1, float y1, float x2, float y2, int colour) override;
    void lineTo(float x, float y, int colour) override;

    const QImage &image() const { return image_; }
    qreal devicePixelRatio() const { return image_.devicePixelRatio(); }
    void setDevicePixelRatio(qreal ratio);

private:
    struct Line {
        QPointF from;
        QPointF to;
        int colour;
    };
    void render(const Line &line);

    QSize size_;
    QImage image_;
    QPointF current_;
    std::vector<Line> lines_;
};
