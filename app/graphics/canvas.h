#pragma once

#include <cstdint>

#include "app/graphics/graphics_types.h"

class QPainter;

namespace app {

class TGraphic;

// A drawing surface: a Qt painter that pictures draw themselves on.
class TCanvas {
public:
    explicit TCanvas(QPainter& painter);

    // Asks the picture to draw itself stretched into `rect`.
    void StretchDraw(const TRect& rect, TGraphic* graphic);
    // Draws the picture at its natural size with its top-left corner at (x, y).
    void Draw(std::int32_t x, std::int32_t y, TGraphic* graphic);

    QPainter& Painter() { return painter_; }

private:
    QPainter& painter_;
};

}  // namespace app
