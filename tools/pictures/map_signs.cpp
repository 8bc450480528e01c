#include "tools/pictures/map_signs.h"

#include <stdexcept>
#include <string>

namespace pictures {
namespace {

// All signs are drawn with a 2-pixel pen; a point at (x, y) inks x … x + 1
// and y … y + 1.

// Trench: a line broken into traverses, alternately towards and away from
// the enemy.
void DrawTrench(Canvas& canvas) {
    std::vector<Point> points{{9, 25}};
    for (int base = 9; base < 207; base += 22) {
        points.push_back({base + 7, 25});
        points.push_back({base + 11, 4});
        points.push_back({base + 18, 4});
        points.push_back({base + 22, 25});
    }
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
// battalion has the flag halved on the diagonal, the upper half filled.
void DrawBattalionCommandObservationPost(Canvas& canvas) {
    canvas.Line({10, 4}, {10, 47});
    canvas.Polyline({{10, 4}, {22, 4}, {22, 13}, {10, 13}});
    canvas.Line({10, 13}, {22, 4});
    canvas.FillTriangle({10, 4}, {22, 4}, {10, 13});
}

void DrawRegimentCommandPost(Canvas& canvas) {
    canvas.Line({3, 3}, {3, 40});
    canvas.Polyline({{3, 3}, {16, 3}, {16, 13}, {3, 13}});
    canvas.Line({3, 8}, {16, 8});
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

// Company strong point: an arc bulging towards the enemy, its ends turned in.
void DrawCompanyStrongPoint(Canvas& canvas) {
    canvas.UpperHalfEllipse({73, 50}, 72, 48);
    canvas.Line({1, 50}, {9, 50});
    canvas.Line({137, 50}, {145, 50});
}

// Radio mast: the mast on a ring, the aerial spread at its top.
void DrawRadioMast(Canvas& canvas) {
    canvas.Line({1, 1}, {8, 10});
    canvas.Line({16, 1}, {9, 10});
    canvas.Line({8, 10}, {8, 40});
    canvas.Circle({8, 46}, 5);
}

}  // namespace

Canvas DrawMapSign(const banktool::PictureSpec& spec) {
    Canvas canvas(banktool::kPictureWidth, banktool::kPictureHeight);
    canvas.SetColour(spec.colour);
    canvas.SetPen(2);
    const std::string name(spec.name);
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
