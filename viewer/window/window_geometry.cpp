#include "viewer/window/window_geometry.h"

#include <algorithm>

namespace viewer {

namespace {

constexpr QSize kUsualSize(1100, 720);
constexpr int kFrameRoom = 40;

}  // namespace

QRect FittedGeometry(const QRect& available, const QRect& last) {
    const QSize largest(available.width() * 9 / 10, available.height() * 9 / 10);
    const bool known = last.isValid();
    const QSize size = (known ? last.size() : kUsualSize).boundedTo(largest);
    QRect geometry(QPoint(), size);
    if (!known) {
        geometry.moveCenter(available.center());
        return geometry;
    }
    // Room for the frame around it, as far as the size leaves.
    const int roomX = std::min(kFrameRoom, (available.width() - size.width()) / 2);
    const int roomY = std::min(kFrameRoom, (available.height() - size.height()) / 2);
    geometry.moveTopLeft(QPoint(
        std::clamp(last.x(), available.left() + roomX, available.left() + available.width() - size.width() - roomX),
        std::clamp(last.y(), available.top() + roomY, available.top() + available.height() - size.height() - roomY)));
    return geometry;
}

}  // namespace viewer
