#include "app/qt/canvas.h"

#include <QPainter>
#include <QRegion>

Canvas::Canvas(QSize size) : size_(size) {}

namespace {

QPointF from(const LineRecord::Line &l)
{
    return {l.x1, l.y1};
}

QPointF to(const LineRecord::Line &l)
{
    return {l.x2, l.y2};
}

QRect bounds(const LineRecord::Line &l)
{
    // The pixels from end to end, and one more all round for the pen.
    const QRectF ends = QRectF(from(l), to(l)).normalized();
    return QRectF(ends.topLeft(), ends.bottomRight() + QPointF(1, 1))
        .adjusted(-1, -1, 1, 1)
        .toAlignedRect();
}

} // namespace

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
    for (const Line &l : lines()) {
        if (!exposed.intersects(bounds(l)))
            continue;
        if (l.colour != penColour) {
            penColour = l.colour;
            const Rgb rgb = Palette[static_cast<std::size_t>(l.colour & 15)];
            painter.setPen(
                QPen(QColor(rgb.red, rgb.green, rgb.blue), 1.0, Qt::SolidLine, Qt::SquareCap));
        }
        painter.drawLine(from(l) + shift, to(l) + shift);
    }
}

QRect Canvas::takeChanges()
{
    const std::optional<std::vector<Line>> before = LineRecord::takeChanges();
    if (!before)
        return {};
    QRect changed;
    for (const Line &l : *before)
        changed |= bounds(l);
    for (const Line &l : lines())
        changed |= bounds(l);
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
