// The picture box control: stretched and natural drawing, failures shown
// once through the toolkit's error display.
#include <gtest/gtest.h>

#include <QPixmap>

#include "app/graphics/picture_box.h"
#include "content/jpeg/libjpeg.h"
#include "tests/jpeg/jpeg_test_support.h"
#include "tests/support/gui_support.h"

namespace jpegtest {
namespace {

// A plain red bitmap.
std::unique_ptr<app::TBitmap> RedBitmap(int width, int height) {
    auto bitmap = std::make_unique<app::TBitmap>();
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap->GetScanline(y)[3 * x + 2] = 255;
    return bitmap;
}

QImage Grab(app::PictureBox& box) { return box.grab().toImage(); }

TEST(PictureBox, StretchedFillsTheWholeBox) {
    app::PictureBox box(nullptr, app::PictureBox::Fit::Stretch);
    box.resize(345, 236);
    box.SetGraphic(RedBitmap(10, 5));
    const QImage image = Grab(box);
    EXPECT_EQ(image.pixelColor(1, 1).red(), 255);
    EXPECT_EQ(image.pixelColor(343, 234).red(), 255);
    EXPECT_EQ(image.pixelColor(343, 234).green(), 0);
}

// A white 50 x 50 box showing a red 20 x 80 picture at its natural size.
std::unique_ptr<app::PictureBox> NaturalBoxWithATallPicture() {
    auto box = std::make_unique<app::PictureBox>(nullptr, app::PictureBox::Fit::Natural);
    box->resize(50, 50);
    box->setAutoFillBackground(true);
    box->setPalette(QPalette(Qt::white));
    box->SetGraphic(RedBitmap(20, 80));
    return box;
}

TEST(PictureBox, NaturalSizeDrawsFromTheTopLeftAndClips) {
    const auto box = NaturalBoxWithATallPicture();
    const QImage image = Grab(*box);
    EXPECT_EQ(image.pixelColor(19, 49), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(30, 10), QColor(Qt::white));
}

TEST(PictureBox, NaturalSizeFollowsTheLayoutScale) {
    const auto box = NaturalBoxWithATallPicture();
    box->SetLayoutScale(0.5);
    QImage image = Grab(*box);
    EXPECT_EQ(image.pixelColor(8, 38), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(12, 10), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(5, 42), QColor(Qt::white));
    box->SetLayoutScale(2);
    image = Grab(*box);
    EXPECT_EQ(image.pixelColor(38, 49), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(42, 10), QColor(Qt::white));
}

TEST(PictureBox, ShowsTheRegistrationSizedJpeg) {
    app::PictureBox box;
    box.resize(345, 236);
    box.SetGraphic(LoadPicture(MakeJpeg({.width = 1024, .height = 768})));
    const QImage image = Grab(box);
    auto* picture = dynamic_cast<jpeg::TJPEGImage*>(box.Graphic());
    ASSERT_NE(picture->CurrentRaster(), nullptr);
    EXPECT_EQ(picture->CurrentRaster()->PixelWidth(), 1024);
    // Top-left of the synthetic image is dark red-blue, bottom-right bright.
    EXPECT_LT(qGray(image.pixel(2, 2)), qGray(image.pixel(340, 232)));
}

TEST(PictureBox, AFailingPictureIsReportedOnceAfterThePaint) {
    testsupport::ResetApplication();
    app::PictureBox box;
    box.resize(40, 30);
    box.SetGraphic(LoadPicture({}));  // count 0: libjpeg finds no input
    Grab(box);
    EXPECT_TRUE(testsupport::ShownExceptions().isEmpty());  // not during the paint
    testsupport::ProcessEvents();
    ASSERT_EQ(testsupport::ShownExceptions().size(), 1);
    EXPECT_EQ(testsupport::ShownExceptions().front(), QString("JPEG error #%1").arg(JERR_INPUT_EMPTY));
    Grab(box);
    testsupport::ProcessEvents();
    EXPECT_EQ(testsupport::ShownExceptions().size(), 1);
}

}  // namespace
}  // namespace jpegtest
