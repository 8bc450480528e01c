// Saving a picture that holds only a bitmap, and the clipboard.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/graphics/global_memory.h"
#include "app/graphics/stream.h"
#include "app/graphics/system_palettes.h"
#include "tests/jpeg/jpeg_test_support.h"
#include "tests/jpeg/reference_decoder.h"

namespace jpegtest {
namespace {

// A bitmap holding the synthetic test image.
void FillBitmap(app::TBitmap& bitmap, int width, int height) {
    const Bytes rgb = SyntheticRgb(width, height);
    bitmap.SetPixelFormat(app::TPixelFormat::pf24bit);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = bitmap.GetScanline(y);
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) row[3 * x + c] = rgb[(static_cast<std::size_t>(y) * width + x) * 3 + 2 - c];
    }
}

// Where the marker's segment starts; 0 when there is none.
std::size_t MarkerAt(const Bytes& jpeg, unsigned char marker) {
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == marker) return i;
    return 0;
}

bool HasMarker(const Bytes& jpeg, unsigned char marker) { return MarkerAt(jpeg, marker) != 0; }

Bytes Written(jpeg::TJPEGImage& picture) {
    app::TMemoryStream out;
    picture.WritePicture(out);
    return {out.Bytes().begin(), out.Bytes().end()};
}

// Mean difference per sample between the bitmap and a decoded RGB image.
double MeanError(const app::TBitmap& bitmap, const ReferenceImage& decoded) {
    double total = 0;
    for (int y = 0; y < decoded.height; ++y)
        for (int x = 0; x < decoded.width; ++x)
            for (int c = 0; c < 3; ++c) {
                const int original = bitmap.Scanline(y)[3 * x + 2 - c];
                const int back = decoded.pixels[(static_cast<std::size_t>(y) * decoded.width + x) * 3 + c];
                total += std::abs(original - back);
            }
    return total / (3.0 * decoded.width * decoded.height);
}

TEST(JpegEncode, WritePictureEncodesABaselineJpegAndKeepsIt) {
    app::TBitmap bitmap;
    FillBitmap(bitmap, 70, 45);
    jpeg::TJPEGImage picture;
    picture.Assign(&bitmap);

    const Bytes jpeg = Written(picture);
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    EXPECT_TRUE(HasMarker(jpeg, 0xC0)) << "baseline frame";
    // Quality 90 scales the standard luminance table to 20 %: 16 becomes 3.
    const std::size_t table = MarkerAt(jpeg, 0xDB);
    ASSERT_NE(table, 0u);
    EXPECT_EQ(jpeg[table + 5], 3);
    const ReferenceImage decoded = DecodeWithLibjpeg(jpeg, {});
    EXPECT_EQ(decoded.width, 70);
    EXPECT_LT(MeanError(bitmap, decoded), 7.0);  // what libjpeg itself reaches on this image at 4:2:0

    // The bytes now belong to the picture: stored data carries them.
    app::TMemoryStream stored;
    picture.WriteStoredData(stored);
    EXPECT_EQ(Bytes(stored.Bytes().begin() + 4, stored.Bytes().end()), jpeg);
    EXPECT_EQ(Written(picture), jpeg);  // not encoded twice
}

TEST(JpegEncode, MultiScanPicturesEncodeProgressively) {
    ScopedSettings settings;
    jpeg::DefaultSettings.MultiScan = true;
    app::TBitmap bitmap;
    FillBitmap(bitmap, 40, 40);
    jpeg::TJPEGImage picture;
    picture.Assign(&bitmap);
    const Bytes jpeg = Written(picture);
    EXPECT_TRUE(HasMarker(jpeg, 0xC2)) << "progressive frame";
    EXPECT_TRUE(LoadPicture(jpeg)->IsMultiScan());
}

TEST(JpegEncode, EightBitAndOneRowBitmapsEncode) {
    app::TBitmap indexed;
    FillBitmap(indexed, 33, 1);
    indexed.SetPixelFormat(app::TPixelFormat::pf8bit);
    jpeg::TJPEGImage picture;
    picture.Assign(&indexed);
    const Bytes jpeg = Written(picture);
    const ReferenceImage decoded = DecodeWithLibjpeg(jpeg, {});
    EXPECT_EQ(decoded.width, 33);
    EXPECT_EQ(decoded.height, 1);
    app::TBitmap truecolour;
    truecolour.Assign(&indexed);
    truecolour.SetPixelFormat(app::TPixelFormat::pf24bit);
    EXPECT_LT(MeanError(truecolour, decoded), 7.0);
}

TEST(JpegEncode, ClipboardCarriesTheDecodedImage) {
    const std::size_t blocks = app::LiveGlobalCount();
    auto picture = LoadPicture(MakeJpeg({.width = 24, .height = 18}));
    std::uint16_t format = 0;
    app::HGLOBAL data = 0;
    app::HPALETTE palette = 0;
    picture->WriteClipboard(format, data, palette);
    EXPECT_EQ(format, app::kClipboardDib);
    EXPECT_EQ(palette, 0u);

    // Pasting into a picture without a Raster makes one, and the pasted image
    // replaces the picture: its old bytes are gone, saving encodes the paste.
    auto other = LoadPicture(MakeJpeg({.width = 8, .height = 8}));
    other->ReadClipboard(format, data, palette);
    ASSERT_NE(other->CurrentRaster(), nullptr);
    EXPECT_EQ(other->PixelWidth(), 24);
    EXPECT_EQ(other->Store().JpegBytes, nullptr);
    EXPECT_TRUE(std::equal(other->CurrentRaster()->Scanline(9), other->CurrentRaster()->Scanline(9) + 72,
                           picture->CurrentRaster()->Scanline(9)));
    EXPECT_EQ(DecodeWithLibjpeg(Written(*other), {}).width, 24);
    app::GlobalFree(data);
    EXPECT_EQ(app::LiveGlobalCount(), blocks);
}

TEST(JpegEncode, ClipboardOfAnEightBitPictureCarriesItsPalette) {
    ScopedSettings settings;
    settings.Depth(jpeg::Depth8);
    auto picture = LoadPicture(MakeJpeg({}));
    std::uint16_t format = 0;
    app::HGLOBAL data = 0;
    app::HPALETTE palette = 0;
    picture->WriteClipboard(format, data, palette);
    ASSERT_NE(palette, 0u);
    EXPECT_EQ(app::PaletteEntries(palette), app::PaletteEntries(picture->CurrentRaster()->Palette()));
    jpeg::TJPEGImage pasted;
    pasted.ReadClipboard(format, data, palette);
    EXPECT_EQ(app::PaletteEntries(pasted.PaletteHandle()), app::PaletteEntries(palette));
    app::DeleteObject(palette);
    app::GlobalFree(data);
}

TEST(JpegEncode, UnknownClipboardFormatChangesNothing) {
    auto picture = LoadPicture(MakeJpeg({}));
    EXPECT_THROW(picture->ReadClipboard(2, 0, 0), app::EInvalidGraphic);
    EXPECT_NE(picture->Store().JpegBytes, nullptr);
}

}  // namespace
}  // namespace jpegtest
