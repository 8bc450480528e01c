// The picture's states, the registration photograph and decoding on demand.
#include <gtest/gtest.h>

#include "app/graphics/picture.h"
#include "app/graphics/stream.h"
#include "content/jpeg/jpeg_codec.h"
#include "content/jpeg/jpeg_unit.h"
#include "content/jpeg/registration_photo.h"
#include "tests/jpeg/jpeg_test_support.h"

namespace jpegtest {
namespace {

TEST(JpegState, RegistrationPhotoIsStoredAsTheLayoutHoldsIt) {
    const auto stored = jpeg::RegistrationPhotoStoredData();
    ASSERT_GT(stored.size(), 15u);
    EXPECT_EQ(stored[0], 10);
    EXPECT_EQ(std::string(stored.begin() + 1, stored.begin() + 11), "TJPEGImage");
    const std::uint32_t count =
        stored[11] | stored[12] << 8 | stored[13] << 16 | static_cast<std::uint32_t>(stored[14]) << 24;
    EXPECT_EQ(count + 15, stored.size());
    EXPECT_LT(count, 120u * 1024);
    EXPECT_EQ(stored[15], 0xFF);
    EXPECT_EQ(stored[16], 0xD8);
    EXPECT_EQ(stored[17], 0xFF);
    EXPECT_EQ(stored[18], 0xE0);  // JFIF
}

TEST(JpegState, RegistrationPhotoLoadsThroughThePictureContainerAndDecodesOnFirstPaint) {
    ScopedSettings settings;
    settings.ScreenBits(32);
    jpeg::JpegUnit unit;
    EXPECT_EQ(jpeg::DefaultSettings.OutputDepth, jpeg::Depth24);
    EXPECT_EQ(app::TPicture::FindClassByExtension("JPG"), jpeg::TJPEGImage::Class());
    EXPECT_EQ(app::TPicture::DescriptionOf("jpeg"), "JPEG Image File");

    std::unique_ptr<app::TGraphic> graphic = jpeg::LoadRegistrationPhoto();
    auto* picture = dynamic_cast<jpeg::TJPEGImage*>(graphic.get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->PixelWidth(), 1024);
    EXPECT_EQ(picture->PixelHeight(), 768);
    EXPECT_FALSE(picture->IsBlank());
    EXPECT_FALSE(picture->IsMultiScan());
    EXPECT_FALSE(picture->Store().HeaderGray);
    EXPECT_EQ(picture->CurrentRaster(), nullptr);  // loaded, not decoded
    EXPECT_EQ(picture->PaletteHandle(), 0u);

    const QImage image = Render(*picture, 345, 236);
    ASSERT_NE(picture->CurrentRaster(), nullptr);
    EXPECT_EQ(picture->CurrentRaster()->PixelFormat(), app::TPixelFormat::pf24bit);
    EXPECT_EQ(picture->CurrentRaster()->PixelWidth(), 1024);
    // The floor at the bottom is light, the vehicle in the middle dark.
    EXPECT_GT(qGray(image.pixel(20, 225)), 180);
    EXPECT_LT(qGray(image.pixel(170, 118)), 150);
}

TEST(JpegState, UnitEndForgetsTheClass) {
    { jpeg::JpegUnit unit; }
    EXPECT_EQ(app::TPicture::FindClassByExtension("jpg"), nullptr);
    EXPECT_EQ(app::TPicture::FindClassByName("TJPEGImage"), nullptr);
    EXPECT_EQ(app::TPicture::FindClassByName("TBitmap"), app::TBitmap::Class());
}

TEST(JpegState, DefaultDepthFollowsTheScreenAtUnitStart) {
    ScopedSettings settings;
    settings.ScreenBits(8);
    jpeg::InitializeJpegUnit();
    EXPECT_EQ(jpeg::DefaultSettings.OutputDepth, jpeg::Depth8);
    settings.ScreenBits(16);
    jpeg::InitializeJpegUnit();
    EXPECT_EQ(jpeg::DefaultSettings.OutputDepth, jpeg::Depth24);
    jpeg::FinalizeJpegUnit();
}

TEST(JpegState, SecondPaintMakesNoLibjpegCall) {
    auto picture = LoadPicture(MakeJpeg({}));
    Render(*picture, 32, 24);
    const std::uint64_t calls = jpeg::LibjpegCallCount();
    const app::TBitmap* raster = picture->CurrentRaster();
    Render(*picture, 32, 24);
    picture->EnsureRaster();
    EXPECT_EQ(jpeg::LibjpegCallCount(), calls);
    EXPECT_EQ(picture->CurrentRaster(), raster);
}

TEST(JpegState, LoadingNewDataDropsTheRasterAndTheNextPaintDecodesIt) {
    auto picture = LoadPicture(MakeJpeg({.width = 40, .height = 30}));
    picture->EnsureRaster();
    const Bytes other = StoredData(MakeJpeg({.width = 24, .height = 16, .gray = true}));
    app::TReadOnlyMemoryStream stream(other);
    picture->ReadStoredData(stream);
    EXPECT_EQ(picture->CurrentRaster(), nullptr);
    EXPECT_EQ(picture->PixelWidth(), 24);
    EXPECT_TRUE(picture->Store().HeaderGray);
    EXPECT_EQ(picture->EnsureRaster().PixelWidth(), 24);
    EXPECT_EQ(picture->EnsureRaster().PixelFormat(), app::TPixelFormat::pf8bit);
}

TEST(JpegState, ProgressiveDataLoadsAsMultiScan) {
    auto picture = LoadPicture(MakeJpeg({.progressive = true}));
    EXPECT_TRUE(picture->IsMultiScan());
    EXPECT_EQ(picture->EnsureRaster().PixelHeight(), 48);
}

TEST(JpegState, EmptyPictureDrawsNothingAndDecodesNothing) {
    jpeg::TJPEGImage picture;
    EXPECT_TRUE(picture.IsBlank());
    EXPECT_EQ(picture.PixelWidth(), 0);
    const std::uint64_t calls = jpeg::LibjpegCallCount();
    int notifications = 0;
    picture.OnProgress = [&](app::TObject*, app::TProgressStage, std::uint8_t, bool, const app::TRect&,
                             const std::string&) { ++notifications; };
    const QImage image = Render(picture, 8, 8);
    EXPECT_EQ(image.pixel(4, 4), qRgb(255, 255, 255));
    EXPECT_EQ(jpeg::LibjpegCallCount(), calls);
    EXPECT_EQ(notifications, 0);
    EXPECT_TRUE(picture.IsBlank());
    app::TMemoryStream out;
    picture.WritePicture(out);
    EXPECT_EQ(out.Size(), 0);
    EXPECT_TRUE(picture.IsBlank());  // saving did not give it undecodable bytes
}

TEST(JpegState, SizeCannotBeChanged) {
    auto picture = LoadPicture(MakeJpeg({}));
    for (auto resize : {&jpeg::TJPEGImage::ResizeWidth, &jpeg::TJPEGImage::ResizeHeight}) {
        try {
            (picture.get()->*resize)(10);
            FAIL() << "resized";
        } catch (const app::EInvalidGraphicOperation& error) {
            EXPECT_STREQ(error.what(), "Cannot change the size of a JPEG image");
        }
    }
    EXPECT_EQ(picture->PixelWidth(), 64);
    EXPECT_EQ(picture->PixelHeight(), 48);
}

TEST(JpegState, BitmapOnlyThenEncoded) {
    app::TBitmap bitmap;
    bitmap.SetSize(20, 10);
    jpeg::TJPEGImage picture;
    picture.Assign(&bitmap);
    EXPECT_EQ(picture.Store().JpegBytes, nullptr);
    EXPECT_FALSE(picture.IsBlank());
    EXPECT_EQ(picture.PixelWidth(), 20);
    app::TMemoryStream out;
    picture.WritePicture(out);
    ASSERT_NE(picture.Store().JpegBytes, nullptr);
    EXPECT_EQ(picture.Store().HeaderWidth, 20);
    EXPECT_EQ(picture.Store().HeaderHeight, 10);
    EXPECT_NE(picture.CurrentRaster(), nullptr);
}

}  // namespace
}  // namespace jpegtest
