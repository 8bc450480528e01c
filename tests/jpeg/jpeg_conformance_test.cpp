// The Raster against libjpeg-turbo's own decoder with the same settings.
#include <gtest/gtest.h>

#include "app/graphics/system_palettes.h"
#include "tests/jpeg/jpeg_test_support.h"
#include "tests/jpeg/reference_decoder.h"

namespace jpegtest {
namespace {

std::vector<SampleRecipe> Samples() {
    return {
        {.name = "baseline"},
        {.name = "progressive", .progressive = true},
        {.name = "grayscale", .gray = true},
        {.name = "grayscale_progressive", .gray = true, .progressive = true},
        {.name = "odd_size", .width = 37, .height = 23},
        {.name = "one_row", .width = 50, .height = 1},
        {.name = "one_column", .width = 1, .height = 29},
        {.name = "restart_markers", .width = 80, .height = 70, .restartRows = 1},
        {.name = "full_chroma", .width = 33, .height = 17, .lumaSampling = 1},
        {.name = "high_quality", .quality = 98},
    };
}

class Conformance : public testing::TestWithParam<SampleRecipe> {
protected:
    ScopedSettings settings;
};

TEST_P(Conformance, TrueColourRasterEqualsLibjpegByteForByte) {
    settings.Depth(jpeg::Depth24);
    const Bytes jpeg = MakeJpeg(GetParam());
    const ReferenceImage reference = DecodeWithLibjpeg(jpeg, {});
    auto picture = LoadPicture(jpeg);
    const app::TBitmap& raster = picture->EnsureRaster();

    ASSERT_EQ(raster.PixelWidth(), reference.width);
    ASSERT_EQ(raster.PixelHeight(), reference.height);
    if (reference.components == 1) {
        // Grayscale always becomes an 8-bit picture with a gray palette.
        ASSERT_EQ(raster.PixelFormat(), app::TPixelFormat::pf8bit);
        for (const app::PaletteEntry& entry : app::PaletteEntries(raster.Palette())) {
            EXPECT_EQ(entry.Red, entry.Green);
            EXPECT_EQ(entry.Green, entry.Blue);
        }
    } else {
        ASSERT_EQ(raster.PixelFormat(), app::TPixelFormat::pf24bit);
    }
    for (int y = 0; y < reference.height; ++y) {
        const unsigned char* row = raster.Scanline(y);
        const unsigned char* expected =
            &reference.pixels[static_cast<std::size_t>(y) * reference.width * reference.components];
        for (int x = 0; x < reference.width; ++x) {
            if (reference.components == 3) {
                // Reference in red-green-blue, Raster in blue-green-red.
                ASSERT_EQ(row[3 * x], expected[3 * x + 2]) << "blue at " << x << "," << y;
                ASSERT_EQ(row[3 * x + 1], expected[3 * x + 1]) << "green at " << x << "," << y;
                ASSERT_EQ(row[3 * x + 2], expected[3 * x]) << "red at " << x << "," << y;
            } else {
                ASSERT_EQ(row[x], expected[x]) << "index at " << x << "," << y;
            }
        }
    }
}

TEST_P(Conformance, On256ColourScreenRasterHasAtMost236ColoursAndTheColourMapAsPalette) {
    settings.Depth(jpeg::Depth8);
    const Bytes jpeg = MakeJpeg(GetParam());
    const ReferenceImage reference = DecodeWithLibjpeg(jpeg, {.bgr = true, .quantize = true});
    auto picture = LoadPicture(jpeg);
    int changes = 0;
    picture->OnChange = [&](app::TObject*) { ++changes; };
    const app::TBitmap& raster = picture->EnsureRaster();

    ASSERT_EQ(raster.PixelFormat(), app::TPixelFormat::pf8bit);
    EXPECT_LE(DistinctPixels(raster).size(), 236u);
    const std::vector<app::PaletteEntry> palette = app::PaletteEntries(raster.Palette());
    ASSERT_EQ(palette.size(), reference.colormap[0].size());
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const bool gray = reference.colormap.size() == 1;
        EXPECT_EQ(palette[i].Red, gray ? reference.colormap[0][i] : reference.colormap[2][i]);
        EXPECT_EQ(palette[i].Green, gray ? reference.colormap[0][i] : reference.colormap[1][i]);
        EXPECT_EQ(palette[i].Blue, reference.colormap[0][i]);
    }
    for (int y = 0; y < reference.height; ++y)
        for (int x = 0; x < reference.width; ++x)
            ASSERT_EQ(raster.Scanline(y)[x], reference.pixels[static_cast<std::size_t>(y) * reference.width + x]);
    EXPECT_TRUE(picture->PaletteModified);
    EXPECT_EQ(changes, 1);  // the decoding's own notification
}

INSTANTIATE_TEST_SUITE_P(Samples, Conformance, testing::ValuesIn(Samples()),
                         [](const testing::TestParamInfo<SampleRecipe>& info) { return info.param.name; });

}  // namespace
}  // namespace jpegtest
