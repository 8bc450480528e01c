#include "tests/jpeg/jpeg_test_support.h"

#include <QPainter>

#include "app/graphics/canvas.h"
#include "app/graphics/system_clock.h"
#include "app/graphics/system_screen.h"

namespace jpegtest {

ScopedSettings::~ScopedSettings() {
    jpeg::DefaultSettings = saved_;
    app::OverrideScreenDepth(std::nullopt);
}

void ScopedSettings::ScreenBits(int bitsPerPixel) { app::OverrideScreenDepth(bitsPerPixel); }

SteppingClock::SteppingClock(std::uint32_t step) {
    app::OverrideTickCount([this, step] { return now_ += step; });
}

SteppingClock::~SteppingClock() { app::OverrideTickCount({}); }

std::unique_ptr<jpeg::TJPEGImage> LoadPicture(const Bytes& jpeg) {
    auto picture = std::make_unique<jpeg::TJPEGImage>();
    const Bytes stored = StoredData(jpeg);
    app::TReadOnlyMemoryStream stream(stored);
    picture->ReadStoredData(stream);
    return picture;
}

QImage Render(app::TGraphic& picture, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    app::TCanvas canvas(painter);
    picture.RenderTo(canvas, {0, 0, width, height});
    return image;
}

std::set<std::uint32_t> DistinctPixels(const app::TBitmap& bitmap) {
    std::set<std::uint32_t> values;
    const int bytes = bitmap.PixelFormat() == app::TPixelFormat::pf8bit ? 1 : 3;
    for (int y = 0; y < bitmap.PixelHeight(); ++y) {
        const unsigned char* row = bitmap.Scanline(y);
        for (int x = 0; x < bitmap.PixelWidth(); ++x) {
            std::uint32_t value = 0;
            for (int c = 0; c < bytes; ++c) value = value << 8 | row[x * bytes + c];
            values.insert(value);
        }
    }
    return values;
}

}  // namespace jpegtest
