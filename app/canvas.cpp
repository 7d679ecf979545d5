#include "app/canvas.h"

#include <QPainter>

Canvas::Canvas(QSize size, qreal devicePixelRatio)
    : image_((QSizeF(size) * devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied)
{
    image_.setDevicePixelRatio(devicePixelRatio);
    clear();
}

void Canvas::clear()
{
    image_.fill(Qt::transparent);
    current_ = QPointF(0, 0);
}

void Canvas::line(float x1, float y1, float x2, float y2, int colour)
{
    const Rgb rgb = Palette[static_cast<std::size_t>(colour & 15)];
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // A one-pixel pen with square caps covers both end points; at a higher
    // device pixel ratio the stroke scales with it and stays sharp.
    QPen pen(QColor(rgb.red, rgb.green, rgb.blue), 1.0, Qt::SolidLine, Qt::SquareCap);
    painter.setPen(pen);
    painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    current_ = QPointF(x2, y2);
}

void Canvas::lineTo(float x, float y, int colour)
{
    const QPointF from = current_;
    line(static_cast<float>(from.x()), static_cast<float>(from.y()), x, y, colour);
}
