#pragma once

#include <cstdint>

namespace app {

// A rectangle in device pixels; right and bottom lie just outside it.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;

    std::int32_t Width() const { return Right - Left; }
    std::int32_t Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// System object handles; 0 is "none".
using HPALETTE = std::uint32_t;
using HGLOBAL = std::uint32_t;
using HBITMAP = std::uint32_t;
using HDC = std::uint32_t;
using HWND = std::uint32_t;

}  // namespace app
