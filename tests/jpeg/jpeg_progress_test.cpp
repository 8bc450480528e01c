// Progress notifications, cancelling with EAbort, and errors from handlers.
#include <gtest/gtest.h>

#include "app/graphics/stream.h"
#include "tests/jpeg/jpeg_test_support.h"

namespace jpegtest {
namespace {

struct Notification {
    app::TProgressStage stage;
    int percent;
    bool redraw;
    app::TRect rect;
};

// Records every notification; optionally raises on the first running one.
class ProgressRecorder {
public:
    enum class Raise { Nothing, Abort, Failure };

    ProgressRecorder(app::TGraphic& picture, Raise raise = Raise::Nothing) {
        picture.OnProgress = [this, raise](app::TObject*, app::TProgressStage stage, std::uint8_t percent, bool redraw,
                                           const app::TRect& rect, const std::string&) {
            seen.push_back({stage, percent, redraw, rect});
            if (stage != app::TProgressStage::Running) return;
            if (raise == Raise::Abort) throw app::EAbort();
            if (raise == Raise::Failure) throw app::Exception("handler failed");
        };
    }

    std::vector<Notification> seen;
};

Bytes LargeJpeg() { return MakeJpeg({.width = 320, .height = 240}); }

TEST(JpegProgress, DecodingReportsStartRunningAndEndWithRectangles) {
    SteppingClock clock(600);  // every check sees 600 ms pass
    auto picture = LoadPicture(LargeJpeg());
    ProgressRecorder recorder(*picture);
    picture->EnsureRaster();

    ASSERT_GE(recorder.seen.size(), 4u);
    EXPECT_EQ(recorder.seen.front().stage, app::TProgressStage::Starting);
    EXPECT_EQ(recorder.seen.front().percent, 0);
    EXPECT_EQ(recorder.seen.back().stage, app::TProgressStage::Ending);
    EXPECT_EQ(recorder.seen.back().percent, 100);
    EXPECT_TRUE(recorder.seen.back().redraw);  // the palette-modified flag, set by loading
    int previousPercent = -1;
    int previousBottom = 0;
    for (std::size_t i = 1; i + 1 < recorder.seen.size(); ++i) {
        const Notification& running = recorder.seen[i];
        EXPECT_EQ(running.stage, app::TProgressStage::Running);
        EXPECT_GT(running.percent, previousPercent);
        EXPECT_EQ(running.rect.Left, 0);
        EXPECT_EQ(running.rect.Right, 320);
        EXPECT_EQ(running.rect.Top, previousBottom);  // each rectangle starts where the last ended
        EXPECT_EQ(running.redraw, running.rect.Bottom - running.rect.Top >= 4);
        previousPercent = running.percent;
        previousBottom = running.rect.Bottom;
    }
}

TEST(JpegProgress, NotificationsWaitHalfASecond) {
    SteppingClock clock(100);
    auto picture = LoadPicture(LargeJpeg());
    ProgressRecorder recorder(*picture);
    picture->EnsureRaster();
    SteppingClock fast(600);
    auto other = LoadPicture(LargeJpeg());
    ProgressRecorder fastRecorder(*other);
    other->EnsureRaster();
    EXPECT_LT(recorder.seen.size(), fastRecorder.seen.size());
}

TEST(JpegProgress, AbortWhileDecodingKeepsThePartialRasterForGood) {
    SteppingClock clock(600);
    auto picture = LoadPicture(LargeJpeg());
    ProgressRecorder recorder(*picture, ProgressRecorder::Raise::Abort);
    const app::TBitmap& raster = picture->EnsureRaster();  // swallowed
    EXPECT_EQ(raster.PixelWidth(), 320);
    EXPECT_EQ(recorder.seen.back().stage, app::TProgressStage::Ending);
    EXPECT_EQ(recorder.seen.back().percent, 0);
    // Rows below the last decoded one are still untouched (zero).
    const unsigned char* lastRow = raster.Scanline(239);
    EXPECT_EQ(std::count(lastRow, lastRow + 320 * 3, 0), 320 * 3);
    const std::size_t notifications = recorder.seen.size();
    Render(*picture, 32, 24);
    EXPECT_EQ(&picture->EnsureRaster(), &raster);
    EXPECT_EQ(recorder.seen.size(), notifications);
}

TEST(JpegProgress, OtherHandlerErrorsReachTheCallerOnce) {
    SteppingClock clock(600);
    auto picture = LoadPicture(LargeJpeg());
    ProgressRecorder recorder(*picture, ProgressRecorder::Raise::Failure);
    EXPECT_THROW(picture->EnsureRaster(), app::Exception);
    EXPECT_EQ(recorder.seen.back().stage, app::TProgressStage::Ending);
    EXPECT_EQ(recorder.seen.back().percent, 0);
    EXPECT_NO_THROW(picture->EnsureRaster());
    EXPECT_EQ(picture->CurrentRaster()->PixelWidth(), 320);
}

TEST(JpegProgress, AbortWhileEncodingDropsThePartialBytes) {
    SteppingClock clock(600);
    app::TBitmap bitmap;
    bitmap.SetSize(640, 480);
    jpeg::TJPEGImage picture;
    picture.Assign(&bitmap);
    const jpeg::TJPEGData* holder = &picture.Store();
    ProgressRecorder recorder(picture, ProgressRecorder::Raise::Abort);
    app::TMemoryStream out;
    picture.WritePicture(out);
    EXPECT_EQ(out.Size(), 0);  // nothing written after a cancelled encoding
    EXPECT_EQ(picture.Store().JpegBytes, nullptr);
    EXPECT_NE(&picture.Store(), holder);  // a fresh holder
    EXPECT_EQ(recorder.seen.back().stage, app::TProgressStage::Ending);
    EXPECT_EQ(recorder.seen.back().percent, 0);
    EXPECT_FALSE(recorder.seen.back().redraw);
    EXPECT_EQ(picture.PixelWidth(), 640);  // the bitmap stays

    picture.OnProgress = nullptr;
    picture.WritePicture(out);  // the next save encodes again
    EXPECT_GT(out.Size(), 0);
}

TEST(JpegProgress, EncodingReportsWithoutRectangles) {
    SteppingClock clock(600);
    app::TBitmap bitmap;
    bitmap.SetSize(640, 480);
    jpeg::TJPEGImage picture;
    picture.Assign(&bitmap);
    ProgressRecorder recorder(picture);
    app::TMemoryStream out;
    picture.WritePicture(out);
    ASSERT_GE(recorder.seen.size(), 3u);
    EXPECT_EQ(recorder.seen.back().percent, 100);
    for (const Notification& notification : recorder.seen) {
        EXPECT_EQ(notification.rect, app::TRect{});
        EXPECT_FALSE(notification.redraw);
    }
}

}  // namespace
}  // namespace jpegtest
