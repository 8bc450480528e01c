#include "app/layout.h"

#include <algorithm>
#include <cmath>

namespace app {

std::int64_t RoundedQuotient(std::int64_t numerator, std::int64_t denominator) {
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const std::int64_t twice = 2 * numerator;
    if (numerator >= 0) return (twice + denominator) / (2 * denominator);
    return -((-twice + denominator) / (2 * denominator));
}

namespace {

// Keeps the centre of [start, start + length) at the same fraction of the
// axis; the half length is an integer half on both sides.
int PlaceAxis(int start, int length, int designExtent, int extent) {
    const int half = length / 2;
    if (designExtent <= 0) return start;
    const std::int64_t centre = RoundedQuotient(std::int64_t{start + half} * extent, designExtent);
    return static_cast<int>(centre) - half;
}

}  // namespace

Rect PlaceControl(const Rect& design, Size designClient, Size client, bool anchored) {
    if (anchored) return design;
    return Rect{PlaceAxis(design.left, design.width, designClient.width, client.width),
                PlaceAxis(design.top, design.height, designClient.height, client.height), design.width, design.height};
}

double LayoutScale(Size designClient, Size client, double dpiScale) {
    if (designClient.width <= 0 || designClient.height <= 0 || dpiScale <= 0) return 1.0;
    const double fitWidth = client.width / (designClient.width * dpiScale);
    const double fitHeight = client.height / (designClient.height * dpiScale);
    return dpiScale * std::min({1.0, fitWidth, fitHeight});
}

int ScaleLength(int length, double scale) {
    if (scale == 1.0) return length;
    return static_cast<int>(std::lround(length * scale));
}

int ScaleFontPixels(int pixels, double scale) {
    if (scale == 1.0) return pixels;
    return std::max(1, static_cast<int>(std::floor(pixels * scale + 1e-9)));
}

Rect ScaleRect(const Rect& rect, double scale) {
    return Rect{ScaleLength(rect.left, scale), ScaleLength(rect.top, scale), ScaleLength(rect.width, scale),
                ScaleLength(rect.height, scale)};
}

Size ScaleSize(Size size, double scale) {
    return Size{ScaleLength(size.width, scale), ScaleLength(size.height, scale)};
}

}  // namespace app
