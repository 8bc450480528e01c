#pragma once

#include <string_view>
#include <vector>

namespace icontool {

// A point on the drawing's 256 × 256 canvas.
struct Point {
    double x = 0;
    double y = 0;
};

// One filled shape; the SVG file and every PNG size are made from the same
// list, so they cannot drift apart.
struct Shape {
    enum class Kind { RoundedRect, Circle, Polygon };
    Kind kind = Kind::Polygon;
    std::vector<Point> points;  // RoundedRect: top-left, bottom-right; Circle: centre; Polygon: corners
    double radius = 0;          // corner radius, or the circle's
    unsigned colour = 0;        // 0xRRGGBB
};

// The drawing of a program's icon by name ("kalvena"); empty for an unknown
// name. A second program adds its own drawing here.
std::vector<Shape> Drawing(std::string_view name);

}  // namespace icontool
