#include "app/graphics/canvas.h"

#include <QPainter>

#include "app/graphics/graphic.h"

namespace app {

TCanvas::TCanvas(QPainter& painter) : painter_(painter) {
    // Pictures are mostly scaled down; filtering keeps them readable.
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
    if (graphic != nullptr) graphic->RenderTo(*this, rect);
}

void TCanvas::Draw(std::int32_t x, std::int32_t y, TGraphic* graphic) {
    if (graphic == nullptr) return;
    StretchDraw({x, y, x + graphic->PixelWidth(), y + graphic->PixelHeight()}, graphic);
}

}  // namespace app
