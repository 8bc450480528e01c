// Stored data, picture streams, and what broken or hostile data does.
#include <gtest/gtest.h>

#include <chrono>

#include "app/graphics/stream.h"
#include "content/jpeg/jpeg_codec.h"
#include "tests/jpeg/jpeg_test_support.h"

namespace jpegtest {
namespace {

std::string JpegErrorOf(jpeg::TJPEGImage& picture) {
    try {
        picture.EnsureRaster();
    } catch (const jpeg::EJPEG& error) {
        return error.what();
    }
    return "no error";
}

std::string LoadErrorOf(const Bytes& stored) {
    jpeg::TJPEGImage picture;
    app::TReadOnlyMemoryStream stream(stored);
    try {
        picture.ReadStoredData(stream);
    } catch (const jpeg::EJPEG& error) {
        return error.what();
    }
    return "no error";
}

TEST(JpegStoredData, RoundTripIsByteForByte) {
    const Bytes stored = StoredData(MakeJpeg({.progressive = true}));
    auto picture = LoadPicture(MakeJpeg({.progressive = true}));
    picture->EnsureRaster();  // decoding does not touch the bytes
    app::TMemoryStream out;
    picture->WriteStoredData(out);
    EXPECT_EQ(Bytes(out.Bytes().begin(), out.Bytes().end()), stored);
}

TEST(JpegStoredData, PictureStreamIsTheBareBytes) {
    const Bytes jpeg = MakeJpeg({});
    Bytes withPrefix{1, 2, 3};
    withPrefix.insert(withPrefix.end(), jpeg.begin(), jpeg.end());
    app::TReadOnlyMemoryStream in(withPrefix);
    in.SetPosition(3);
    jpeg::TJPEGImage picture;
    picture.ReadPicture(in);
    EXPECT_EQ(picture.PixelWidth(), 64);
    app::TMemoryStream out;
    picture.WritePicture(out);
    EXPECT_EQ(Bytes(out.Bytes().begin(), out.Bytes().end()), jpeg);
}

TEST(JpegStoredData, CountZeroLoadsThenFailsOnceAsEmptyInput) {
    auto picture = LoadPicture({});
    EXPECT_FALSE(picture->IsBlank());
    EXPECT_EQ(picture->PixelWidth(), 0);
    EXPECT_EQ(picture->PixelHeight(), 0);
    EXPECT_EQ(JpegErrorOf(*picture), "JPEG error #" + std::to_string(JERR_INPUT_EMPTY));
    // Later paints draw the empty Raster without decoding again.
    const std::uint64_t calls = jpeg::LibjpegCallCount();
    EXPECT_NO_THROW(Render(*picture, 4, 4));
    EXPECT_EQ(jpeg::LibjpegCallCount(), calls);
    app::TMemoryStream out;
    picture->WriteStoredData(out);
    EXPECT_EQ(Bytes(out.Bytes().begin(), out.Bytes().end()), (Bytes{0, 0, 0, 0}));
}

TEST(JpegStoredData, UnusableCountsRaiseTheReadErrorAndLeaveThePictureAlone) {
    const Bytes good = StoredData(MakeJpeg({.width = 16, .height = 16}));
    const std::vector<Bytes> broken{
        {0x10, 0x00},                          // count cut short
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xD8},  // negative
        {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xD8},  // 2 GB promised, 2 bytes there
        Bytes(good.begin(), good.end() - 1),   // one byte short
    };
    for (const Bytes& stored : broken) {
        auto picture = LoadPicture(MakeJpeg({}));
        const auto* store = &picture->Store();
        app::TReadOnlyMemoryStream stream(stored);
        EXPECT_THROW(picture->ReadStoredData(stream), app::EReadError);
        EXPECT_EQ(&picture->Store(), store);
        EXPECT_EQ(picture->PixelWidth(), 64);
    }
}

TEST(JpegStoredData, NonJpegDataFailsWithLibjpegsCode) {
    const std::string expected = "JPEG error #" + std::to_string(JERR_NO_SOI);
    EXPECT_EQ(LoadErrorOf(StoredData({'B', 'M', 0, 0, 0, 0})), expected);
    // The bad bytes stay, so the first paint reports the same error.
    jpeg::TJPEGImage picture;
    const Bytes stored = StoredData({'G', 'I', 'F', '8'});
    app::TReadOnlyMemoryStream stream(stored);
    EXPECT_THROW(picture.ReadStoredData(stream), jpeg::EJPEG);
    EXPECT_EQ(JpegErrorOf(picture), expected);
    EXPECT_EQ(JpegErrorOf(picture), "no error");
}

TEST(JpegStoredData, TruncatedDataDecodesWhatIsThere) {
    const Bytes jpeg = MakeJpeg({.width = 64, .height = 64, .quality = 95});
    auto picture = LoadPicture(Bytes(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(jpeg.size() / 2)));
    const app::TBitmap& raster = picture->EnsureRaster();
    EXPECT_EQ(raster.PixelWidth(), 64);
    EXPECT_EQ(raster.PixelHeight(), 64);
}

TEST(JpegStoredData, HostileDimensionsAreRefusedBeforeAllocating) {
    const Bytes huge = WithDimensions(MakeJpeg({.width = 16, .height = 16}), 65000, 65000);
    auto picture = LoadPicture(huge);
    EXPECT_EQ(picture->PixelWidth(), 65000);  // the header alone is harmless
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(JpegErrorOf(*picture), "JPEG error #" + std::to_string(JERR_IMAGE_TOO_BIG));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(picture->CurrentRaster()->PixelWidth(), 0);
}

TEST(JpegStoredData, EndlessScansAreCutShort) {
    // A progressive file whose last scan repeats 600 times.
    const Bytes jpeg = MakeJpeg({.width = 256, .height = 256, .progressive = true});
    std::size_t lastScan = 0;
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) lastScan = i;
    const Bytes scan(jpeg.begin() + static_cast<std::ptrdiff_t>(lastScan), jpeg.end() - 2);
    Bytes hostile(jpeg.begin(), jpeg.end() - 2);
    for (int i = 0; i < 600; ++i) hostile.insert(hostile.end(), scan.begin(), scan.end());
    hostile.insert(hostile.end(), {0xFF, 0xD9});
    auto picture = LoadPicture(hostile);
    EXPECT_EQ(JpegErrorOf(*picture), "JPEG error #" + std::to_string(JERR_BAD_PROGRESSION));
}

TEST(JpegStoredData, FourComponentDataIsRefused) {
    auto picture = LoadPicture(MakeJpeg({.cmyk = true}));
    EXPECT_EQ(picture->PixelWidth(), 64);
    EXPECT_EQ(JpegErrorOf(*picture), "JPEG error #" + std::to_string(JERR_CONVERSION_NOTIMPL));
}

}  // namespace
}  // namespace jpegtest
