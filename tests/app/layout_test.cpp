#include <gtest/gtest.h>

#include "app/layout.h"

namespace {

using app::PlaceControl;
using app::Rect;
using app::Size;

TEST(Layout, CentreKeepsItsFractionOfTheClientArea) {
    EXPECT_EQ(PlaceControl({219, 505, 188, 25}, {750, 540}, {1000, 720}, false), (Rect{323, 677, 188, 25}));
    EXPECT_EQ(PlaceControl({111, 503, 223, 25}, {800, 551}, {1000, 720}, false), (Rect{167, 661, 223, 25}));
}

TEST(Layout, DesignSizeAndAnchoredControlsStayPut) {
    EXPECT_EQ(PlaceControl({219, 505, 188, 25}, {750, 540}, {750, 540}, false), (Rect{219, 505, 188, 25}));
    EXPECT_EQ(PlaceControl({320, 56, 161, 33}, {800, 551}, {1600, 1100}, true), (Rect{320, 56, 161, 33}));
}

TEST(Layout, HalvesRoundAwayFromZeroAndSizesUseIntegerHalves) {
    // Centre (0 + 1) * 3 / 2 = 1.5 rounds to 2; the half of 3 is 1.
    EXPECT_EQ(PlaceControl({0, 0, 3, 3}, {2, 2}, {3, 3}, false), (Rect{1, 1, 3, 3}));
    EXPECT_EQ(app::RoundedQuotient(5, 2), 3);
    EXPECT_EQ(app::RoundedQuotient(-5, 2), -3);
    EXPECT_EQ(app::RoundedQuotient(7, 3), 2);
    EXPECT_EQ(app::RoundedQuotient(-7, 3), -2);
}

TEST(Layout, ScaleFollowsDpiAndShrinksUniformlyOnASmallWorkArea) {
    EXPECT_DOUBLE_EQ(app::LayoutScale({750, 540}, {1024, 768}, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(app::LayoutScale({750, 540}, {2048, 1536}, 2.0), 2.0);
    EXPECT_DOUBLE_EQ(app::LayoutScale({800, 551}, {640, 551}, 1.0), 0.8);
    EXPECT_DOUBLE_EQ(app::LayoutScale({800, 550}, {800, 275}, 1.0), 0.5);
    // Shrunk by the smaller factor, a control still fits and keeps its shape.
    const double scale = app::LayoutScale({800, 551}, {640, 480}, 1.0);
    const Rect button = app::ScaleRect({469, 503, 221, 25}, scale);
    const Rect placed = PlaceControl(button, app::ScaleSize({800, 551}, scale), {640, 480}, false);
    EXPECT_LE(placed.left + placed.width, 640);
    EXPECT_LE(placed.top + placed.height, 480);
    // Fonts round down, so a scaled text never outgrows its scaled box.
    EXPECT_EQ(app::ScaleFontPixels(21, 0.8), 16);
    EXPECT_EQ(app::ScaleFontPixels(21, 1.0), 21);
    EXPECT_EQ(app::ScaleFontPixels(20, 1.25), 25);
    EXPECT_EQ(app::ScaleFontPixels(1, 0.1), 1);
}

}  // namespace
