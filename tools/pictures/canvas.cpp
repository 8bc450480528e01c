#include "tools/pictures/canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>

namespace pictures {
namespace {

void PutU16(std::vector<unsigned char>& out, std::size_t at, std::uint16_t value) {
    out[at] = static_cast<unsigned char>(value);
    out[at + 1] = static_cast<unsigned char>(value >> 8);
}

void PutU32(std::vector<unsigned char>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), banktool::kWhite) {}

void Canvas::Pixel(int x, int y) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[Index(x, y)] = colour_;
}

void Canvas::Dot(Point at) {
    for (int dy = 0; dy < pen_; ++dy) {
        for (int dx = 0; dx < pen_; ++dx) Pixel(at.x + dx, at.y + dy);
    }
}

void Canvas::Line(Point from, Point to) {
    // Bresenham: every step moves one pixel along the longer axis.
    const int dx = std::abs(to.x - from.x);
    const int dy = -std::abs(to.y - from.y);
    const int sx = from.x < to.x ? 1 : -1;
    const int sy = from.y < to.y ? 1 : -1;
    int error = dx + dy;
    Point p = from;
    while (true) {
        Dot(p);
        if (p.x == to.x && p.y == to.y) break;
        const int twice = 2 * error;
        if (twice >= dy) error += dy, p.x += sx;
        if (twice <= dx) error += dx, p.y += sy;
    }
}

void Canvas::Polyline(const std::vector<Point>& points) {
    for (std::size_t i = 1; i < points.size(); ++i) Line(points[i - 1], points[i]);
}

void Canvas::Circle(Point centre, int radius) {
    int x = radius;
    int y = 0;
    int error = 1 - radius;
    while (x >= y) {
        for (const Point p : {Point{x, y}, Point{y, x}, Point{-y, x}, Point{-x, y}, Point{-x, -y}, Point{-y, -x},
                              Point{y, -x}, Point{x, -y}}) {
            Dot({centre.x + p.x, centre.y + p.y});
        }
        ++y;
        if (error < 0) {
            error += 2 * y + 1;
        } else {
            --x;
            error += 2 * (y - x) + 1;
        }
    }
}

void Canvas::UpperHalfEllipse(Point centre, int radiusX, int radiusY) {
    constexpr int kSteps = 720;  // a multiple of 2, so the top point is hit exactly
    std::vector<Point> points;
    for (int i = 0; i <= kSteps; ++i) {
        const double angle = std::numbers::pi * (1.0 - static_cast<double>(i) / kSteps);
        points.push_back({centre.x + static_cast<int>(std::lround(radiusX * std::cos(angle))),
                          centre.y - static_cast<int>(std::lround(radiusY * std::sin(angle)))});
    }
    Polyline(points);
}

void Canvas::FillTriangle(Point a, Point b, Point c) {
    const int top = std::min({a.y, b.y, c.y});
    const int bottom = std::max({a.y, b.y, c.y});
    const int left = std::min({a.x, b.x, c.x});
    const int right = std::max({a.x, b.x, c.x});
    auto side = [](Point p, Point q, int x, int y) {
        return static_cast<long>(q.x - p.x) * (y - p.y) - static_cast<long>(q.y - p.y) * (x - p.x);
    };
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const long s1 = side(a, b, x, y);
            const long s2 = side(b, c, x, y);
            const long s3 = side(c, a, x, y);
            if ((s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0)) Pixel(x, y);
        }
    }
}

std::vector<unsigned char> Canvas::ToBmp() const {
    const std::size_t rowSize = (static_cast<std::size_t>(width_) * 3 + 3) / 4 * 4;
    const std::size_t headerSize = 54;
    const std::size_t imageSize = rowSize * static_cast<std::size_t>(height_);
    std::vector<unsigned char> out(headerSize + imageSize, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutU32(out, 2, static_cast<std::uint32_t>(out.size()));
    PutU32(out, 10, static_cast<std::uint32_t>(headerSize));
    PutU32(out, 14, 40);
    PutU32(out, 18, static_cast<std::uint32_t>(width_));
    PutU32(out, 22, static_cast<std::uint32_t>(height_));  // positive height: bottom-up rows
    PutU16(out, 26, 1);
    PutU16(out, 28, 24);
    PutU32(out, 34, static_cast<std::uint32_t>(imageSize));
    PutU32(out, 38, 3780);  // 96 dpi in pixels per metre
    PutU32(out, 42, 3780);
    for (int y = 0; y < height_; ++y) {
        std::size_t at = headerSize + static_cast<std::size_t>(height_ - 1 - y) * rowSize;
        for (int x = 0; x < width_; ++x) {
            const banktool::Rgb& p = pixels_[Index(x, y)];
            out[at++] = p.blue;
            out[at++] = p.green;
            out[at++] = p.red;
        }
    }
    return out;
}

}  // namespace pictures
