#include "app/canvas.h"

#include <QPainter>

namespace {
QImage blankImage(QSize size, qreal ratio)
{
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}
} // namespace

Canvas::Canvas(QSize size, qreal devicePixelRatio)
    : size_(size), image_(blankImage(size, devicePixelRatio))
{}

void Canvas::clear()
{
    image_.fill(Qt::transparent);
    current_ = QPointF(0, 0);
    lines_.clear();
}

void Canvas::line(float x1, float y1, float x2, float y2, int colour)
{
    lines_.push_back({QPointF(x1, y1), QPointF(x2, y2), colour});
    render(lines_.back());
    current_ = QPointF(x2, y2);
}

void Canvas::lineTo(float x, float y, int colour)
{
    line(static_cast<float>(current_.x()), static_cast<float>(current_.y()), x, y, colour);
}

void Canvas::setDevicePixelRatio(qreal ratio)
{
    if (ratio == image_.devicePixelRatio())
        return;
    image_ = blankImage(size_, ratio);
    for (const Line &l : lines_)
        render(l);
}

void Canvas::render(const Line &l)
{
    const Rgb rgb = Palette[static_cast<std::size_t>(l.colour & 15)];
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const qreal ratio = image_.devicePixelRatio();
    // One pixel of the window is ratio device pixels wide; the painter already
    // scales to device pixels. Moved to the pixel's centre, a pen one window
    // pixel wide covers that whole pixel, and square caps take in both ends.
    const qreal toCentre = ratio > 1 ? 0.5 : 0.0;
    const QPointF shift(toCentre, toCentre);
    painter.setPen(QPen(QColor(rgb.red, rgb.green, rgb.blue), 1.0, Qt::SolidLine, Qt::SquareCap));
    painter.drawLine(l.from + shift, l.to + shift);
}
