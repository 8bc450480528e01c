// The picture framework under the JPEG picture: streams, bitmaps, palettes,
// the picture container.
#include <gtest/gtest.h>

#include "app/graphics/bitmap.h"
#include "app/graphics/dib_format.h"
#include "app/graphics/global_memory.h"
#include "app/graphics/graphics_exceptions.h"
#include "app/graphics/picture.h"
#include "app/graphics/stream.h"
#include "app/graphics/system_palettes.h"

namespace {

using Bytes = std::vector<unsigned char>;

TEST(Streams, PlainReadMovesWhatThereIsAndReadBufferInsists) {
    app::TMemoryStream stream;
    const unsigned char data[] = {1, 2, 3, 4, 5};
    EXPECT_EQ(stream.Write(data, 5), 5);
    stream.SetPosition(3);
    unsigned char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 8), 2);
    EXPECT_EQ(stream.Read(buffer, 8), 0);
    EXPECT_EQ(stream.Read(buffer, -1), 0);
    stream.SetPosition(1);
    EXPECT_THROW(stream.ReadBuffer(buffer, 5), app::EReadError);
    stream.SetPosition(1);
    EXPECT_NO_THROW(stream.ReadBuffer(buffer, 4));
    EXPECT_EQ(buffer[3], 5);
    stream.SetPosition(10);
    EXPECT_EQ(stream.Remaining(), 0);

    app::TReadOnlyMemoryStream readOnly(data);
    EXPECT_EQ(readOnly.Write(data, 1), 0);
    EXPECT_THROW(readOnly.WriteBuffer(data, 1), app::EWriteError);
    EXPECT_EQ(readOnly.Size(), 5);
}

// A persistent class that knows nothing of pictures.
class TFontLike : public app::TPersistent {
public:
    const char* ClassName() const override { return "TFontLike"; }
};

TEST(Persistence, DefaultsRefuseWithTheToolkitsMessage) {
    app::TBitmap bitmap;
    TFontLike font;
    try {
        bitmap.Assign(&font);
        FAIL();
    } catch (const app::EConvertError& error) {
        EXPECT_STREQ(error.what(), "A TFontLike cannot be copied into a TBitmap");
    }
    try {
        font.Assign(&bitmap);
        FAIL();
    } catch (const app::EConvertError& error) {
        EXPECT_STREQ(error.what(), "A TBitmap cannot be copied into a TFontLike");
    }
}

TEST(Bitmaps, RowsAreStoredBottomUpAndPadded) {
    app::TBitmap bitmap;
    bitmap.SetSize(5, 3);
    EXPECT_EQ(bitmap.BytesPerRow(), 16);  // 15 bytes padded to 4
    EXPECT_EQ(bitmap.GetScanline(1) - bitmap.GetScanline(0), -16);
    EXPECT_THROW(bitmap.GetScanline(3), app::EInvalidGraphicOperation);
    bitmap.SetPixelFormat(app::TPixelFormat::pf8bit);
    EXPECT_EQ(bitmap.BytesPerRow(), 8);
}

TEST(Bitmaps, SizesAreCheckedInSixtyFourBitsBeforeAnythingIsAllocated) {
    app::TBitmap bitmap;
    // 1,431,655,766 pixels of 3 bytes are 4 bytes past 2^32: in 32 bits the
    // row would wrap to 4 bytes and pass the limit.
    EXPECT_THROW(bitmap.SetSize(1'431'655'766, 1), app::EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.SetSize(1'431'655'766, 0), app::EInvalidGraphicOperation);
    EXPECT_TRUE(bitmap.IsBlank());
    EXPECT_EQ(bitmap.BytesPerRow(), 0);
    // The same width fits in 8 bits per pixel only as far as the limit allows.
    bitmap.SetPixelFormat(app::TPixelFormat::pf8bit);
    EXPECT_THROW(bitmap.SetSize(1'431'655'766, 1), app::EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.SetSize(1 << 20, 1 << 11), app::EInvalidGraphicOperation);
    // Growing to 24 bits is checked too, even with no rows yet.
    bitmap.SetSize(400'000'000, 0);
    EXPECT_THROW(bitmap.SetPixelFormat(app::TPixelFormat::pf24bit), app::EInvalidGraphicOperation);
    EXPECT_EQ(bitmap.PixelFormat(), app::TPixelFormat::pf8bit);
}

TEST(Bitmaps, ReleasingTheHandleKeepsFormatAndPalette) {
    app::TBitmap bitmap;
    bitmap.SetPixelFormat(app::TPixelFormat::pf8bit);
    bitmap.SetSize(4, 4);
    const app::HPALETTE palette = app::CreatePalette({0x300, {{1, 2, 3, 0}}});
    bitmap.ReplacePalette(palette);
    bitmap.SetHandle(0);
    EXPECT_TRUE(bitmap.IsBlank());
    EXPECT_EQ(bitmap.PixelWidth(), 0);
    EXPECT_EQ(bitmap.PixelFormat(), app::TPixelFormat::pf8bit);
    EXPECT_EQ(bitmap.Palette(), palette);
}

TEST(Bitmaps, ResizingKeepsTheTopLeftPixels) {
    app::TBitmap bitmap;
    bitmap.SetSize(3, 3);
    bitmap.GetScanline(0)[0] = 7;
    bitmap.GetScanline(2)[8] = 9;
    bitmap.SetSize(2, 4);
    EXPECT_EQ(bitmap.Scanline(0)[0], 7);
    EXPECT_EQ(bitmap.Scanline(3)[0], 0);
}

TEST(Bitmaps, EightBitPixelsConvertThroughThePalette) {
    app::TBitmap bitmap;
    bitmap.SetPixelFormat(app::TPixelFormat::pf8bit);
    bitmap.SetSize(2, 1);
    bitmap.ReplacePalette(app::CreatePalette({0x300, {{10, 20, 30, 0}, {200, 100, 50, 0}}}));
    bitmap.GetScanline(0)[1] = 1;
    bitmap.SetPixelFormat(app::TPixelFormat::pf24bit);
    const unsigned char* row = bitmap.Scanline(0);
    EXPECT_EQ(Bytes(row, row + 6), (Bytes{30, 20, 10, 50, 100, 200}));
    bitmap.SetPixelFormat(app::TPixelFormat::pf8bit);
    EXPECT_EQ(bitmap.Scanline(0)[1], 1);
    const QImage image = bitmap.ToImage();
    EXPECT_EQ(image.pixel(1, 0), qRgb(200, 100, 50));
}

TEST(Bitmaps, TwentyFourBitPixelsDrawTopDownInTheirOwnColours) {
    // Widths 1 to 5 cover every row padding and a row's last pixel, whose
    // following bytes are padding or the next row.
    for (std::int32_t width = 1; width <= 5; ++width) {
        app::TBitmap bitmap;
        bitmap.SetSize(width, 3);
        const auto colour = [](std::int32_t x, std::int32_t y) { return qRgb(10 * x + 1, 100 + y, 250 - 7 * x - y); };
        for (std::int32_t y = 0; y < 3; ++y) {
            unsigned char* row = bitmap.GetScanline(y);
            for (std::int32_t x = 0; x < width; ++x) {
                row[3 * x] = static_cast<unsigned char>(qBlue(colour(x, y)));
                row[3 * x + 1] = static_cast<unsigned char>(qGreen(colour(x, y)));
                row[3 * x + 2] = static_cast<unsigned char>(qRed(colour(x, y)));
            }
        }
        const QImage image = bitmap.ToImage();
        ASSERT_EQ(image.size(), QSize(width, 3));
        for (std::int32_t y = 0; y < 3; ++y)
            for (std::int32_t x = 0; x < width; ++x)
                EXPECT_EQ(image.pixel(x, y), colour(x, y)) << width << ": " << x << "," << y;
    }
}

TEST(Bitmaps, StoredDataAndClipboardRoundTrip) {
    app::TBitmap bitmap;
    bitmap.SetPixelFormat(app::TPixelFormat::pf8bit);
    bitmap.SetSize(3, 2);
    bitmap.ReplacePalette(app::CreatePalette({0x300, {{0, 0, 0, 0}, {9, 8, 7, 0}}}));
    bitmap.GetScanline(1)[2] = 1;

    app::TMemoryStream stored;
    bitmap.WriteStoredData(stored);
    stored.SetPosition(0);
    app::TBitmap copy;
    copy.ReadStoredData(stored);
    EXPECT_TRUE(copy.Equals(&bitmap));
    EXPECT_EQ(copy.Scanline(1)[2], 1);

    std::uint16_t format = 0;
    app::HGLOBAL data = 0;
    app::HPALETTE palette = 0;
    bitmap.WriteClipboard(format, data, palette);
    app::TBitmap pasted;
    pasted.ReadClipboard(format, data, palette);
    EXPECT_TRUE(pasted.Equals(&bitmap));
    EXPECT_EQ(app::PaletteEntries(pasted.Palette())[1], (app::PaletteEntry{9, 8, 7, 0}));
    app::DeleteObject(palette);
    app::GlobalFree(data);
}

TEST(Bitmaps, BrokenDibsAreRefused) {
    app::TBitmap bitmap;
    bitmap.SetSize(4, 4);
    const Bytes good = app::PackDib(bitmap);
    Bytes tall = good;
    tall[9] = 0x10;  // height 4096 rows: more than the data holds
    Bytes deep = good;
    deep[14] = 32;
    for (const Bytes& dib : {Bytes(good.begin(), good.begin() + 20), tall, deep, Bytes(good.begin(), good.end() - 1)})
        EXPECT_THROW(app::UnpackDib(dib, bitmap), app::EInvalidGraphic);
    EXPECT_EQ(bitmap.PixelWidth(), 4);
    EXPECT_NO_THROW(app::UnpackDib(good, bitmap));
}

TEST(Palettes, HandlesAreNeverReused) {
    const std::size_t live = app::LivePaletteCount();
    const app::HPALETTE first = app::CreatePalette({0x300, {{1, 1, 1, 0}}});
    const app::HPALETTE copy = app::CopyPalette(first);
    EXPECT_NE(copy, first);
    EXPECT_EQ(app::PaletteEntries(copy), app::PaletteEntries(first));
    EXPECT_TRUE(app::DeleteObject(first));
    EXPECT_FALSE(app::DeleteObject(first));
    const app::HPALETTE next = app::CreatePalette({0x300, {{2, 2, 2, 0}}});
    EXPECT_NE(next, first);
    app::PaletteEntry entries[4];
    EXPECT_EQ(app::GetPaletteEntries(first, 0, 4, entries), 0u);
    EXPECT_EQ(app::GetPaletteEntries(next, 0, 4, entries), 1u);
    EXPECT_EQ(app::CreatePalette({0x300, {}}), 0u);
    app::DeleteObject(copy);
    app::DeleteObject(next);
    EXPECT_EQ(app::LivePaletteCount(), live);
}

TEST(PictureContainer, FindsClassesByStoredNameAndExtension) {
    EXPECT_EQ(app::TPicture::FindClassByName("TBitmap"), app::TBitmap::Class());
    EXPECT_EQ(app::TPicture::FindClassByExtension(".BMP"), app::TBitmap::Class());
    EXPECT_EQ(app::TPicture::FindClassByName("TNothing"), nullptr);

    app::TBitmap bitmap;
    bitmap.SetSize(2, 2);
    app::TMemoryStream stored;
    app::TPicture::WriteStoredPicture(stored, &bitmap);
    stored.SetPosition(0);
    const std::unique_ptr<app::TGraphic> read = app::TPicture::ReadStoredPicture(stored);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->Equals(&bitmap));

    const Bytes unknown{4, 'T', 'G', 'I', 'F', 0, 0, 0, 0};
    app::TReadOnlyMemoryStream stream(unknown);
    EXPECT_THROW(app::TPicture::ReadStoredPicture(stream), app::EInvalidGraphic);
    const Bytes none{0};
    app::TReadOnlyMemoryStream empty(none);
    EXPECT_EQ(app::TPicture::ReadStoredPicture(empty), nullptr);
}

}  // namespace
