#pragma once

#include <QImage>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>

#include "app/graphics/graphic.h"
#include "content/jpeg/jpeg.h"
#include "tests/jpeg/jpeg_samples.h"

namespace jpegtest {

// Puts the process-wide defaults and the simulated screen back as they were.
class ScopedSettings {
public:
    ScopedSettings() : saved_(jpeg::DefaultSettings) {}
    ~ScopedSettings();
    ScopedSettings(const ScopedSettings&) = delete;
    ScopedSettings& operator=(const ScopedSettings&) = delete;

    void Depth(jpeg::TJPEGPixelFormat depth) { jpeg::DefaultSettings.OutputDepth = depth; }
    void ScreenBits(int bitsPerPixel);

private:
    jpeg::TJPEGDefaults saved_;
};

// A clock that moves on by `step` milliseconds each time it is read.
class SteppingClock {
public:
    explicit SteppingClock(std::uint32_t step);
    ~SteppingClock();
    SteppingClock(const SteppingClock&) = delete;
    SteppingClock& operator=(const SteppingClock&) = delete;

private:
    std::uint32_t now_ = 100000;
};

// A picture loaded through ReadStoredData.
std::unique_ptr<jpeg::TJPEGImage> LoadPicture(const Bytes& jpeg);

// Draws the picture stretched into a width × height image.
QImage Render(app::TGraphic& picture, int width, int height);

// Distinct colours (24 bits) in a 24-bit bitmap, or indices in an 8-bit one.
std::set<std::uint32_t> DistinctPixels(const app::TBitmap& bitmap);

}  // namespace jpegtest
