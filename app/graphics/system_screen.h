#pragma once

#include <optional>

#include "app/graphics/graphics_types.h"

namespace app {

// Device-capability indices understood by GetDeviceCaps.
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;

// The screen's device context (window 0 is the whole screen).
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
// BITSPIXEL and PLANES of the screen; 0 for any other index.
int GetDeviceCaps(HDC dc, int index);

// Replaces the real screen's colour depth (bits per pixel), or returns to it
// with nullopt. Tests use it to simulate a 256-colour screen.
void OverrideScreenDepth(std::optional<int> bitsPerPixel);

}  // namespace app
