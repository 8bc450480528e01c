#pragma once

#include <cstdint>

namespace app {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Nearest integer of numerator / denominator, halves away from zero.
std::int64_t RoundedQuotient(std::int64_t numerator, std::int64_t denominator);

// Where a control designed at `design` within a client area of `designClient`
// stands on a client area of `client`. An anchored control keeps its design
// position; any other keeps its size and keeps its centre at the same fraction
// of the client area.
Rect PlaceControl(const Rect& design, Size designClient, Size client, bool anchored);

// The factor by which a form's design is scaled: the screen's dpi over 96,
// reduced uniformly when the client area is smaller than the scaled design.
double LayoutScale(Size designClient, Size client, double dpiScale);

int ScaleLength(int length, double scale);
// Font heights round down, so that a scaled text never outgrows the scaled
// box that was made to hold it.
int ScaleFontPixels(int pixels, double scale);
Rect ScaleRect(const Rect& rect, double scale);
Size ScaleSize(Size size, double scale);

}  // namespace app
