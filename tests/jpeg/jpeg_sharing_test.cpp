// Assignment, shared bytes and comparison.
#include <gtest/gtest.h>

#include "app/graphics/stream.h"
#include "tests/jpeg/jpeg_test_support.h"

namespace jpegtest {
namespace {

TEST(JpegSharing, AssignSharesTheHolderAndTheLastOwnerFreesIt) {
    auto first = std::make_unique<jpeg::TJPEGImage>();
    {
        auto source = LoadPicture(MakeJpeg({}));
        first->Assign(source.get());
        EXPECT_EQ(&first->Store(), &source->Store());
        EXPECT_EQ(first->Store().RefCount(), 2);
        EXPECT_TRUE(first->Equals(source.get()));
    }
    // The source is gone; the bytes live on in the picture that shares them.
    EXPECT_EQ(first->Store().RefCount(), 1);
    EXPECT_EQ(first->EnsureRaster().PixelWidth(), 64);
}

TEST(JpegSharing, AssignCopiesTheSourcesRasterAndDropsAStaleOne) {
    auto decoded = LoadPicture(MakeJpeg({.width = 30, .height = 20}));
    decoded->EnsureRaster();
    auto target = LoadPicture(MakeJpeg({.width = 50, .height = 40}));
    target->EnsureRaster();
    target->Assign(decoded.get());
    ASSERT_NE(target->CurrentRaster(), nullptr);
    EXPECT_NE(target->CurrentRaster(), decoded->CurrentRaster());
    EXPECT_EQ(target->CurrentRaster()->PixelWidth(), 30);

    // A source without a Raster: the old Raster would show the old image.
    auto loaded = LoadPicture(MakeJpeg({.width = 12, .height = 8}));
    target->Assign(loaded.get());
    EXPECT_EQ(target->CurrentRaster(), nullptr);
    EXPECT_EQ(target->PixelWidth(), 12);
}

TEST(JpegSharing, AssignFromItselfChangesNothing) {
    auto picture = LoadPicture(MakeJpeg({}));
    const app::TBitmap* raster = &picture->EnsureRaster();
    const jpeg::TJPEGData* holder = &picture->Store();
    picture->Assign(picture.get());
    EXPECT_EQ(&picture->Store(), holder);
    EXPECT_EQ(holder->RefCount(), 1);
    EXPECT_EQ(picture->CurrentRaster(), raster);
}

TEST(JpegSharing, AssignFromABitmapLeavesNoBytes) {
    app::TBitmap bitmap;
    bitmap.SetSize(9, 7);
    auto picture = LoadPicture(MakeJpeg({}));
    picture->Assign(&bitmap);
    EXPECT_EQ(picture->Store().JpegBytes, nullptr);
    EXPECT_EQ(picture->PixelWidth(), 9);
    app::TMemoryStream out;
    picture->WriteStoredData(out);
    EXPECT_EQ(Bytes(out.Bytes().begin(), out.Bytes().end()), (Bytes{0, 0, 0, 0}));
}

TEST(JpegSharing, AssignToABitmapGivesTheDecodedImage) {
    auto picture = LoadPicture(MakeJpeg({.width = 21, .height = 13}));
    app::TBitmap bitmap;
    bitmap.Assign(picture.get());
    EXPECT_EQ(bitmap.PixelWidth(), 21);
    EXPECT_EQ(bitmap.PixelHeight(), 13);
    EXPECT_TRUE(std::equal(bitmap.Scanline(5), bitmap.Scanline(5) + 63, picture->CurrentRaster()->Scanline(5)));
}

class TFontLike : public app::TPersistent {
public:
    const char* ClassName() const override { return "TFontLike"; }
};

TEST(JpegSharing, OtherClassesAreRefusedBothWays) {
    jpeg::TJPEGImage picture;
    TFontLike font;
    try {
        picture.Assign(&font);
        FAIL();
    } catch (const app::EConvertError& error) {
        EXPECT_STREQ(error.what(), "A TFontLike cannot be copied into a TJPEGImage");
    }
    EXPECT_THROW(picture.Assign(nullptr), app::EConvertError);
    try {
        picture.AssignTo(&font);
        FAIL();
    } catch (const app::EConvertError& error) {
        EXPECT_STREQ(error.what(), "A TJPEGImage cannot be copied into a TFontLike");
    }
}

TEST(JpegSharing, EqualsComparesBytesOrHolders) {
    const Bytes jpeg = MakeJpeg({});
    auto a = LoadPicture(jpeg);
    auto b = LoadPicture(jpeg);
    auto c = LoadPicture(MakeJpeg({.quality = 50}));
    EXPECT_TRUE(a->Equals(b.get()));  // separate holders, same bytes
    EXPECT_FALSE(a->Equals(c.get()));
    app::TBitmap bitmap;
    EXPECT_FALSE(a->Equals(&bitmap));
    EXPECT_FALSE(a->Equals(nullptr));

    // Without bytes only a shared holder counts.
    bitmap.SetSize(4, 4);
    jpeg::TJPEGImage d, e, f;
    d.Assign(&bitmap);
    e.Assign(&d);
    f.Assign(&bitmap);
    EXPECT_TRUE(d.Equals(&e));
    EXPECT_FALSE(d.Equals(&f));
    EXPECT_FALSE(d.Equals(a.get()));
}

TEST(JpegSharing, EncodingIntoASharedHolderServesBoth) {
    app::TBitmap bitmap;
    bitmap.SetSize(16, 16);
    jpeg::TJPEGImage a, b;
    a.Assign(&bitmap);
    b.Assign(&a);
    app::TMemoryStream out;
    a.WritePicture(out);
    ASSERT_NE(b.Store().JpegBytes, nullptr);
    EXPECT_TRUE(a.Equals(&b));
}

}  // namespace
}  // namespace jpegtest
