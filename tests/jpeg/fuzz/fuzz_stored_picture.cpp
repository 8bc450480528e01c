#include "tests/jpeg/fuzz/fuzz_stored_picture.h"

#include <QImage>
#include <QPainter>
#include <span>

#include "app/graphics/canvas.h"
#include "app/graphics/stream.h"
#include "content/jpeg/decode_limits.h"
#include "content/jpeg/jpeg.h"

namespace jpegtest {

namespace {

// Puts back what one input changes, so that the replay test leaves the
// process as it found it.
class InputSettings {
public:
    explicit InputSettings(std::uint8_t selector)
        : saved_(jpeg::DefaultSettings), savedLimit_(jpeg::MaxDecodePixels()) {
        // Small images keep each run short; the refusal path is the same.
        jpeg::SetMaxDecodePixels(std::uint64_t{1} << 22);
        // The first input byte picks the output depth, so both decoders run.
        jpeg::DefaultSettings.OutputDepth = selector & 1 ? jpeg::Depth8 : jpeg::Depth24;
    }
    ~InputSettings() {
        jpeg::DefaultSettings = saved_;
        jpeg::SetMaxDecodePixels(savedLimit_);
    }
    InputSettings(const InputSettings&) = delete;
    InputSettings& operator=(const InputSettings&) = delete;

private:
    jpeg::TJPEGDefaults saved_;
    std::uint64_t savedLimit_;
};

}  // namespace

void FuzzStoredPicture(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return;
    const InputSettings settings(data[0]);
    jpeg::TJPEGImage picture;
    try {
        app::TReadOnlyMemoryStream stored(std::span(data + 1, size - 1));
        picture.ReadStoredData(stored);
    } catch (const app::EReadError&) {
        return;
    } catch (const jpeg::EJPEG&) {
    }
    QImage target(16, 12, QImage::Format_RGB32);
    QPainter painter(&target);
    app::TCanvas canvas(painter);
    try {
        picture.RenderTo(canvas, {0, 0, 16, 12});
    } catch (const jpeg::EJPEG&) {
    }
    app::TMemoryStream out;
    picture.WritePicture(out);
}

}  // namespace jpegtest
