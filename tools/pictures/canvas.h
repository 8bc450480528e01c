#pragma once

#include <vector>

#include "tools/bank/picture_table.h"

namespace pictures {

struct Point {
    int x = 0;
    int y = 0;
};

// A white RGB raster with a square pen, for line drawings of map signs.
// The pen covers pen × pen pixels to the right of and below each point it
// touches, so a drawing's extent follows exactly from its points.
class Canvas {
public:
    Canvas(int width, int height);

    void SetColour(banktool::Rgb colour) { colour_ = colour; }
    void SetPen(int size) { pen_ = size; }

    void Dot(Point at);
    void Line(Point from, Point to);
    void Polyline(const std::vector<Point>& points);
    void Circle(Point centre, int radius);
    // The upper half of an ellipse, from its left end over the top to its right end.
    void UpperHalfEllipse(Point centre, int radiusX, int radiusY);
    void FillTriangle(Point a, Point b, Point c);

    // An uncompressed 24-bit Windows BMP, rows bottom-up, no colour table.
    std::vector<unsigned char> ToBmp() const;

private:
    void Pixel(int x, int y);
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_;
    int height_;
    std::vector<banktool::Rgb> pixels_;
    banktool::Rgb colour_ = banktool::kBlack;
    int pen_ = 1;
};

}  // namespace pictures
