#include "app/icon/icon_image.h"

#include <QPainter>
#include <QPolygonF>

namespace icontool {

namespace {

constexpr int kCanvas = 256;

}  // namespace

QImage Image(const std::vector<Shape>& shapes, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(static_cast<double>(size) / kCanvas, static_cast<double>(size) / kCanvas);
    painter.setPen(Qt::NoPen);
    for (const Shape& shape : shapes) {
        painter.setBrush(QColor::fromRgb(shape.colour));
        switch (shape.kind) {
            case Shape::Kind::RoundedRect: {
                const QRectF box(QPointF(shape.points[0].x, shape.points[0].y),
                                 QPointF(shape.points[1].x, shape.points[1].y));
                painter.drawRoundedRect(box, shape.radius, shape.radius);
                break;
            }
            case Shape::Kind::Circle:
                painter.drawEllipse(QPointF(shape.points[0].x, shape.points[0].y), shape.radius, shape.radius);
                break;
            case Shape::Kind::Polygon: {
                QPolygonF polygon;
                for (const Point& p : shape.points) polygon << QPointF(p.x, p.y);
                painter.drawPolygon(polygon);
                break;
            }
        }
    }
    painter.end();
    return image;
}

QIcon WindowIcon(std::string_view drawing) {
    QIcon painted;
    const std::vector<Shape> shapes = Drawing(drawing);
    for (const int size : {16, 24, 32, 48}) painted.addPixmap(QPixmap::fromImage(Image(shapes, size)));
    return painted;
}

}  // namespace icontool
