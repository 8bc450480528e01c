// Palettes: handing a picture a palette, the halftone palette, no leaks.
#include <gtest/gtest.h>

#include "app/graphics/system_palettes.h"
#include "tests/jpeg/jpeg_test_support.h"

namespace jpegtest {
namespace {

app::HPALETTE EightColours() {
    app::LogPalette palette;
    for (int i = 0; i < 8; ++i)
        palette.Entries.push_back({static_cast<std::uint8_t>(i & 1 ? 255 : 0),
                                   static_cast<std::uint8_t>(i & 2 ? 255 : 0),
                                   static_cast<std::uint8_t>(i & 4 ? 255 : 0), 0});
    return app::CreatePalette(palette);
}

class JpegPalette : public testing::Test {
protected:
    void SetUp() override { livePalettes = app::LivePaletteCount(); }
    // Every test must give back every palette it made.
    void TearDown() override { EXPECT_EQ(app::LivePaletteCount(), livePalettes); }

    ScopedSettings settings;
    std::size_t livePalettes = 0;
};

TEST_F(JpegPalette, NewPaletteDropsTheRasterAndTheNextDecodeUsesIt) {
    for (const bool gray : {false, true}) {
        settings.Depth(jpeg::Depth8);
        auto picture = LoadPicture(MakeJpeg({.gray = gray}));
        picture->EnsureRaster();
        EXPECT_GT(app::PaletteEntries(picture->CurrentRaster()->Palette()).size(), 8u);
        int changes = 0;
        picture->OnChange = [&](app::TObject*) { ++changes; };

        const app::HPALETTE palette = EightColours();
        picture->ReplacePalette(palette);
        EXPECT_EQ(picture->CurrentRaster(), nullptr);
        EXPECT_EQ(picture->OwnedPalette(), palette);
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(picture->PaletteHandle(), palette);

        const app::TBitmap& raster = picture->EnsureRaster();
        EXPECT_EQ(raster.PixelFormat(), app::TPixelFormat::pf8bit);
        EXPECT_NE(raster.Palette(), palette);  // a copy: each owns its own
        EXPECT_EQ(app::PaletteEntries(raster.Palette()), app::PaletteEntries(palette));
        const std::set<std::uint32_t> used = DistinctPixels(raster);
        EXPECT_LE(*used.rbegin(), 7u) << (gray ? "gray" : "colour");
        EXPECT_GE(used.size(), 2u);
    }
}

TEST_F(JpegPalette, TheSamePaletteOrTheRastersOwnChangesNothing) {
    settings.Depth(jpeg::Depth8);
    auto picture = LoadPicture(MakeJpeg({}));
    const app::TBitmap* raster = &picture->EnsureRaster();
    picture->ReplacePalette(picture->PaletteHandle());
    EXPECT_EQ(picture->CurrentRaster(), raster);
    // The picture holds its own copy, so both can be deleted.
    EXPECT_NE(picture->OwnedPalette(), raster->Palette());
    picture->ReplacePalette(picture->OwnedPalette());
    EXPECT_EQ(picture->CurrentRaster(), raster);
}

TEST_F(JpegPalette, AnAssignedBitmapIsNotThrownAway) {
    app::TBitmap bitmap;
    bitmap.SetSize(5, 5);
    jpeg::TJPEGImage picture;
    picture.Assign(&bitmap);
    picture.ReplacePalette(EightColours());
    ASSERT_NE(picture.CurrentRaster(), nullptr);
    EXPECT_EQ(picture.PixelWidth(), 5);
}

TEST_F(JpegPalette, TrueColourPictureOnAFadedScreenGetsAHalftonePaletteUntilItDecodes) {
    settings.Depth(jpeg::Depth24);
    auto picture = LoadPicture(MakeJpeg({}));
    settings.ScreenBits(32);
    EXPECT_EQ(picture->PaletteHandle(), 0u);
    settings.ScreenBits(8);
    const app::HPALETTE halftone = picture->PaletteHandle();
    EXPECT_NE(halftone, 0u);
    EXPECT_EQ(app::PaletteEntries(halftone).size(), 256u);
    EXPECT_EQ(picture->PaletteHandle(), halftone);  // kept, not made again
    picture->EnsureRaster();
    EXPECT_EQ(picture->OwnedPalette(), 0u);
    EXPECT_TRUE(app::PaletteEntries(halftone).empty());  // deleted
    EXPECT_EQ(picture->CurrentRaster()->PixelFormat(), app::TPixelFormat::pf24bit);
}

TEST_F(JpegPalette, EightBitPictureWithoutRasterHasNoPalette) {
    settings.Depth(jpeg::Depth8);
    settings.ScreenBits(8);
    auto picture = LoadPicture(MakeJpeg({}));
    EXPECT_EQ(picture->PaletteHandle(), 0u);
}

TEST_F(JpegPalette, StaleHeldPaletteFallsBackToTheImagesOwnColours) {
    settings.Depth(jpeg::Depth8);
    auto picture = LoadPicture(MakeJpeg({}));
    const app::HPALETTE palette = EightColours();
    app::DeleteObject(palette);
    picture->ReplacePalette(palette);  // a handle that names nothing any more
    const app::TBitmap& raster = picture->EnsureRaster();
    EXPECT_GT(app::PaletteEntries(raster.Palette()).size(), 8u);
    picture->ReplacePalette(0);
}

}  // namespace
}  // namespace jpegtest
