#pragma once

#include <array>
#include <string_view>

#include "app/layout.h"

namespace banktool {

struct Rgb {
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlack{0, 0, 0};

inline constexpr int kPictureWidth = 595;
inline constexpr int kPictureHeight = 446;
inline constexpr int kBmpHeaderSize = 54;
inline constexpr int kBmpRowSize = (kPictureWidth * 3 + 3) / 4 * 4;
inline constexpr int kBmpFileSize = kBmpHeaderSize + kBmpRowSize * kPictureHeight;
static_assert(kBmpFileSize == 797502);

// Inclusive pixel bounds of a drawing within its bitmap.
struct Extent {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

// A picture question: its box in the window, the colour of its line drawing
// and where the drawing lies in the bitmap.
struct MapSignPicture {
    std::string_view name;
    int number;  // in theme 5
    app::Rect box;
    Rgb colour;
    Extent extent;
    bool clippedByBox;  // the box shows only part of the drawing
};

inline constexpr int kPictureTheme = 5;

inline constexpr std::array<MapSignPicture, 7> kPictures{{
    {"Tq514", 14, {320, 56, 161, 33}, kRed, {9, 208, 4, 26}, true},
    {"Tq515", 15, {359, 56, 81, 65}, kBlack, {1, 75, 2, 61}, false},
    {"Tq516", 16, {387, 56, 26, 57}, kRed, {2, 23, 4, 48}, false},
    {"Tq517", 17, {363, 56, 74, 33}, kBlack, {1, 69, 1, 26}, false},
    {"Tq518", 18, {323, 56, 153, 57}, kRed, {1, 146, 2, 51}, false},
    {"Tq519", 19, {391, 56, 18, 57}, kBlack, {1, 17, 1, 52}, false},
    {"Tq520", 20, {387, 56, 26, 49}, kRed, {3, 23, 3, 41}, false},
}};

constexpr const MapSignPicture* FindMapSignPicture(int theme, int number) {
    if (theme != kPictureTheme) return nullptr;
    for (const MapSignPicture& sign : kPictures) {
        if (sign.number == number) return &sign;
    }
    return nullptr;
}

}  // namespace banktool
