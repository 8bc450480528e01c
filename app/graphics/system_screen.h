#pragma once

#include <optional>

#include "app/graphics/graphics_types.h"

namespace app {

// Device-capability indices understood by GetDeviceCaps (the system's
// BITSPIXEL and PLANES, which are macros in the Windows headers).
inline constexpr int kBitsPixelIndex = 12;
inline constexpr int kPlanesIndex = 14;

// The screen's device context (window 0 is the whole screen).
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
// Bits per pixel and planes of the screen; 0 for any other index.
int GetDeviceCaps(HDC dc, int index);

// Replaces the real screen's colour depth (bits per pixel), or returns to it
// with nullopt. Tests use it to simulate a 256-colour screen.
void OverrideScreenDepth(std::optional<int> bitsPerPixel);

}  // namespace app
