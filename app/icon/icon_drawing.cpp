#include "app/icon/icon_drawing.h"

#include <cmath>
#include <numbers>

namespace icontool {
namespace {

constexpr unsigned kOlive = 0x4B5320;
constexpr unsigned kPaper = 0xFFFBF0;  // the windows' cream
constexpr unsigned kInk = 0x3A3A3A;
constexpr unsigned kRed = 0xD01010;
constexpr unsigned kGold = 0xF2C230;

Shape Box(double left, double top, double right, double bottom, double radius, unsigned colour) {
    return {Shape::Kind::RoundedRect, {{left, top}, {right, bottom}}, radius, colour};
}

Shape Dot(double x, double y, double radius, unsigned colour) {
    return {Shape::Kind::Circle, {{x, y}}, radius, colour};
}

Shape Star(double x, double y, double outer, unsigned colour) {
    Shape star{Shape::Kind::Polygon, {}, 0, colour};
    const double inner = outer * 0.382;
    for (int i = 0; i < 10; ++i) {
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const double r = i % 2 == 0 ? outer : inner;
        star.points.push_back({x + r * std::cos(angle), y + r * std::sin(angle)});
    }
    return star;
}

// An answer sheet on an olive ground: three options, the middle one chosen,
// and a gold star for the military course.
std::vector<Shape> Kalvena() {
    std::vector<Shape> shapes{
        Box(8, 8, 248, 248, 44, kOlive), Box(52, 36, 204, 224, 14, kPaper),
        Box(72, 62, 164, 76, 7, kRed),  // the question
    };
    for (int row = 0; row < 3; ++row) {
        const double y = 112 + row * 38;
        shapes.push_back(Dot(86, y, 13, kInk));
        shapes.push_back(Dot(86, y, 8, row == 1 ? kRed : kPaper));
        shapes.push_back(Box(110, y - 6, 184 - row * 14, y + 6, 6, kInk));
    }
    shapes.push_back(Star(200, 60, 40, kGold));
    return shapes;
}

// The results viewer: the same sheet on the same ground, with bars of the
// grades 2 to 5 in the colours of its chart.
std::vector<Shape> Results() {
    std::vector<Shape> shapes{
        Box(8, 8, 248, 248, 44, kOlive), Box(52, 36, 204, 224, 14, kPaper), Box(72, 60, 184, 72, 6, kInk),
        Box(72, 84, 150, 96, 6, kInk),   Box(68, 200, 188, 206, 3, kInk),  // the baseline
    };
    constexpr struct {
        double height;
        unsigned colour;
    } kBars[] = {{44, 0xC83C3C}, {28, 0xE0A12B}, {62, 0x3A78C2}, {82, 0x2E8B57}};
    for (int i = 0; i < 4; ++i) {
        const double left = 74 + i * 28;
        shapes.push_back(Box(left, 200 - kBars[i].height, left + 22, 200, 3, kBars[i].colour));
    }
    return shapes;
}

}  // namespace

std::vector<Shape> Drawing(std::string_view name) {
    if (name == "kalvena") return Kalvena();
    if (name == "results") return Results();
    return {};
}

}  // namespace icontool
