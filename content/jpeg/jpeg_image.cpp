// TJPEGImage: construction, holders, queries and the stored forms.
#include <limits>

#include "app/graphics/canvas.h"
#include "app/graphics/stored_count.h"
#include "app/graphics/system_palettes.h"
#include "app/graphics/system_screen.h"
#include "content/jpeg/jpeg.h"

namespace jpeg {

TJPEGImage::TJPEGImage()
    : BlockSmoothing(DefaultSettings.BlockSmoothing),
      GrayOutput(DefaultSettings.GrayOutput),
      OutputDepth(DefaultSettings.OutputDepth),
      EncodeQuality(DefaultSettings.EncodeQuality),
      ShowByScans(DefaultSettings.ShowByScans),
      MultiScan(DefaultSettings.MultiScan),
      DecodeSpeed(DefaultSettings.DecodeSpeed),
      ScaleShift(DefaultSettings.ScaleShift) {
    NewStore();
}

TJPEGImage::~TJPEGImage() {
    if (HeldPalette != 0) app::DeleteObject(HeldPalette);
    Raster.reset();
    ByteStore->Release();
}

app::TGraphicClass TJPEGImage::Class() {
    static const app::TGraphicClassInfo info{
        "TJPEGImage", []() -> std::unique_ptr<app::TGraphic> { return std::make_unique<TJPEGImage>(); }};
    return &info;
}

void TJPEGImage::Changed(app::TObject* sender) { TGraphic::Changed(sender); }

void TJPEGImage::RenderTo(app::TCanvas& canvas, const app::TRect& rect) { canvas.StretchDraw(rect, &EnsureRaster()); }

bool TJPEGImage::IsBlank() const {
    if (ByteStore->JpegBytes != nullptr) return false;
    return Raster == nullptr || Raster->IsBlank();
}

std::int32_t TJPEGImage::PixelHeight() const {
    return Raster != nullptr ? Raster->PixelHeight() : ByteStore->HeaderHeight;
}

std::int32_t TJPEGImage::PixelWidth() const {
    return Raster != nullptr ? Raster->PixelWidth() : ByteStore->HeaderWidth;
}

app::HPALETTE TJPEGImage::PaletteHandle() {
    if (Raster != nullptr) return Raster->PaletteHandle();
    if (HeldPalette != 0) return HeldPalette;
    if (OutputDepth == Depth8) return 0;
    // A true-colour picture on a screen that has dropped to 256 colours.
    const app::HDC dc = app::GetDC(0);
    app::HPALETTE palette = 0;
    if (app::GetDeviceCaps(dc, app::kBitsPixelIndex) * app::GetDeviceCaps(dc, app::kPlanesIndex) <= 8) {
        HeldPalette = app::CreateHalftonePalette(dc);
        palette = HeldPalette;
    }
    app::ReleaseDC(0, dc);
    return palette;
}

void TJPEGImage::ReadStoredData(app::TStream& stream) {
    const std::int32_t count = app::ReadStoredCount(stream);
    LoadBytes(count, stream);
}

void TJPEGImage::ResizeHeight(std::int32_t) {
    throw app::EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::ResizeWidth(std::int32_t) {
    throw app::EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::WriteStoredData(app::TStream& stream) {
    const app::TMemoryStream* bytes = ByteStore->JpegBytes.get();
    const auto count = bytes != nullptr ? static_cast<std::int32_t>(bytes->Bytes().size()) : 0;
    app::WriteStoredCount(stream, count);
    if (count > 0) stream.WriteBuffer(bytes->Bytes().data(), count);
}

void TJPEGImage::ReadPicture(app::TStream& stream) {
    const std::int64_t remaining = stream.Remaining();
    if (remaining > std::numeric_limits<std::int32_t>::max()) throw app::EReadError();
    LoadBytes(static_cast<std::int32_t>(remaining), stream);
}

void TJPEGImage::WritePicture(app::TStream& stream) {
    EnsureBytes();
    // After a cancelled encoding there are no bytes, and nothing is written.
    const app::TMemoryStream* bytes = ByteStore->JpegBytes.get();
    if (bytes != nullptr && !bytes->Bytes().empty())
        stream.WriteBuffer(bytes->Bytes().data(), static_cast<std::int32_t>(bytes->Bytes().size()));
}

void TJPEGImage::NewStore() {
    auto* fresh = new TJPEGData;
    fresh->Reference();
    if (ByteStore != nullptr) ByteStore->Release();
    ByteStore = fresh;
}

void TJPEGImage::NewRaster() { Raster = std::make_unique<app::TBitmap>(); }

void TJPEGImage::DropRaster() { Raster.reset(); }

}  // namespace jpeg
