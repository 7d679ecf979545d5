#include "app/qt/canvas.h"

#include <QPainter>
#include <QRegion>

Canvas::Canvas(QSize size) : size_(size) {}

void Canvas::clear()
{
    current_ = QPointF(0, 0);
    lines_.clear();
}

void Canvas::line(float x1, float y1, float x2, float y2, int colour)
{
    lines_.push_back({QPointF(x1, y1), QPointF(x2, y2), colour});
    current_ = QPointF(x2, y2);
}

void Canvas::lineTo(float x, float y, int colour)
{
    line(static_cast<float>(current_.x()), static_cast<float>(current_.y()), x, y, colour);
}

QRect Canvas::Line::bounds() const
{
    // The pixels from end to end, and one more all round for the pen.
    const QRectF ends = QRectF(from, to).normalized();
    return QRectF(ends.topLeft(), ends.bottomRight() + QPointF(1, 1))
        .adjusted(-1, -1, 1, 1)
        .toAlignedRect();
}

void Canvas::paint(QPainter &painter, const QRegion &exposed) const
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    const qreal ratio = painter.device()->devicePixelRatioF();
    // One pixel of the window is ratio device pixels wide; the painter already
    // scales to device pixels. Moved to the pixel's centre, a pen one window
    // pixel wide covers that whole pixel, and square caps take in both ends.
    const qreal toCentre = ratio > 1 ? 0.5 : 0.0;
    const QPointF shift(toCentre, toCentre);
    int penColour = -1;
    for (const Line &l : lines_) {
        if (!exposed.intersects(l.bounds()))
            continue;
        if (l.colour != penColour) {
            penColour = l.colour;
            const Rgb rgb = Palette[static_cast<std::size_t>(l.colour & 15)];
            painter.setPen(
                QPen(QColor(rgb.red, rgb.green, rgb.blue), 1.0, Qt::SolidLine, Qt::SquareCap));
        }
        painter.drawLine(l.from + shift, l.to + shift);
    }
}

QRect Canvas::takeChanges()
{
    if (lines_ == shown_)
        return {};
    QRect changed;
    for (const Line &l : shown_)
        changed |= l.bounds();
    for (const Line &l : lines_)
        changed |= l.bounds();
    shown_ = lines_;
    return changed;
}

QImage Canvas::image(qreal devicePixelRatio) const
{
    QImage image((QSizeF(size_) * devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, QRect(QPoint(0, 0), size_));
    return image;
}
