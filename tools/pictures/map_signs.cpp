#include "tools/pictures/map_signs.h"

#include <stdexcept>
#include <string>

namespace pictures {
namespace {

// All signs are drawn with a 2-pixel pen; a point at (x, y) inks x … x + 1
// and y … y + 1.

// Trench: a line broken into rectangular traverses that stand out towards
// the enemy. The box shows the first seven of them and ends between two.
void DrawTrench(Canvas& canvas) {
    constexpr int kBase = 25;
    constexpr int kTop = 4;
    std::vector<Point> points{{9, kBase}};
    for (int left = 15; left < 200; left += 22) {
        points.push_back({left, kBase});
        points.push_back({left, kTop});
        points.push_back({left + 10, kTop});
        points.push_back({left + 10, kBase});
    }
    points.push_back({207, kBase});
    canvas.Polyline(points);
}

// Windmill: crossed sails on a post over a small ring, on a ground line.
void DrawWindmill(Canvas& canvas) {
    canvas.Line({1, 2}, {74, 38});
    canvas.Line({74, 2}, {1, 38});
    canvas.Line({37, 20}, {37, 44});
    canvas.Circle({37, 51}, 7);
    canvas.Line({25, 60}, {49, 60});
}

// Command post: a flag on a staff. The command and observation post of a
// battalion has the flag halved on the diagonal, the upper half filled. Both
// flags fill nearly the width of their boxes so that the halves show at
// real size.
void DrawBattalionCommandObservationPost(Canvas& canvas) {
    canvas.Line({2, 4}, {2, 47});
    canvas.Polyline({{2, 4}, {22, 4}, {22, 18}, {2, 18}});
    canvas.Line({2, 18}, {22, 4});
    canvas.FillTriangle({2, 4}, {22, 4}, {2, 18});
}

// The command post of a regiment has the flag halved across.
void DrawRegimentCommandPost(Canvas& canvas) {
    canvas.Line({3, 3}, {3, 40});
    canvas.Polyline({{3, 3}, {22, 3}, {22, 17}, {3, 17}});
    canvas.Line({3, 10}, {22, 10});
}

// Bridge: the two edges of the deck with the wings splayed at both banks.
void DrawBridge(Canvas& canvas) {
    canvas.Line({9, 7}, {60, 7});
    canvas.Line({9, 19}, {60, 19});
    canvas.Line({9, 7}, {1, 1});
    canvas.Line({60, 7}, {68, 1});
    canvas.Line({9, 19}, {1, 25});
    canvas.Line({60, 19}, {68, 25});
}

// An arc bulging towards the enemy, its ends turned in: the outline of a
// position or strong point of any level.
void DrawStrongPointOutline(Canvas& canvas, Point centre, int radiusX, int radiusY, int end) {
    canvas.UpperHalfEllipse(centre, radiusX, radiusY);
    canvas.Line({centre.x - radiusX, centre.y}, {centre.x - radiusX + end, centre.y});
    canvas.Line({centre.x + radiusX - end, centre.y}, {centre.x + radiusX, centre.y});
}

// Company strong point: the company's outline with the strong points of its
// platoons inside, two in front and one in depth. It carries no inscription:
// the question names the company in words.
void DrawCompanyStrongPoint(Canvas& canvas) {
    DrawStrongPointOutline(canvas, {73, 50}, 72, 48, 8);
    DrawStrongPointOutline(canvas, {40, 30}, 14, 9, 3);
    DrawStrongPointOutline(canvas, {106, 30}, 14, 9, 3);
    DrawStrongPointOutline(canvas, {73, 47}, 14, 9, 3);
}

// Radio mast: the mast on a ring, the aerial spread at its top.
void DrawRadioMast(Canvas& canvas) {
    canvas.Line({1, 1}, {8, 10});
    canvas.Line({16, 1}, {9, 10});
    canvas.Line({8, 10}, {8, 40});
    canvas.Circle({8, 46}, 5);
}

}  // namespace

Canvas DrawMapSign(const banktool::MapSignPicture& sign) {
    Canvas canvas(banktool::kPictureWidth, banktool::kPictureHeight);
    canvas.SetColour(sign.colour);
    canvas.SetPen(2);
    const std::string name(sign.name);
    if (name == "Tq514") {
        DrawTrench(canvas);
    } else if (name == "Tq515") {
        DrawWindmill(canvas);
    } else if (name == "Tq516") {
        DrawBattalionCommandObservationPost(canvas);
    } else if (name == "Tq517") {
        DrawBridge(canvas);
    } else if (name == "Tq518") {
        DrawCompanyStrongPoint(canvas);
    } else if (name == "Tq519") {
        DrawRadioMast(canvas);
    } else if (name == "Tq520") {
        DrawRegimentCommandPost(canvas);
    } else {
        throw std::invalid_argument("no map sign for " + name);
    }
    return canvas;
}

}  // namespace pictures
