// TJPEGImage: assignment, comparison, palettes and the clipboard.
#include "app/graphics/system_palettes.h"
#include "content/jpeg/jpeg.h"

namespace jpeg {

void TJPEGImage::AssignTo(app::TPersistent* dest) {
    if (auto* bitmap = dynamic_cast<app::TBitmap*>(dest)) {
        bitmap->Assign(&EnsureRaster());
        return;
    }
    TGraphic::AssignTo(dest);
}

void TJPEGImage::Assign(app::TPersistent* source) {
    if (source == this) return;
    if (auto* other = dynamic_cast<TJPEGImage*>(source)) {
        other->ByteStore->Reference();
        ByteStore->Release();
        ByteStore = other->ByteStore;
        // A Raster decoded from the previous bytes would show the wrong image.
        if (other->Raster != nullptr) {
            NewRaster();
            Raster->Assign(other->Raster.get());
        } else {
            DropRaster();
        }
        return;
    }
    if (auto* bitmap = dynamic_cast<app::TBitmap*>(source)) {
        NewStore();
        NewRaster();
        Raster->Assign(bitmap);
        return;
    }
    TGraphic::Assign(source);
}

bool TJPEGImage::Equals(app::TGraphic* other) {
    auto* picture = dynamic_cast<TJPEGImage*>(other);
    if (picture == nullptr) return false;
    if (ByteStore->JpegBytes != nullptr && picture->ByteStore->JpegBytes != nullptr) return TGraphic::Equals(other);
    return ByteStore == picture->ByteStore;
}

void TJPEGImage::ReplacePalette(app::HPALETTE palette) {
    if (palette == HeldPalette) return;
    // Only a Raster that can be decoded again is dropped; an assigned bitmap
    // is the picture's only copy of its pixels.
    const bool drop = Raster != nullptr && palette != Raster->Palette() && ByteStore->JpegBytes != nullptr;
    if (drop) DropRaster();
    if (HeldPalette != 0) app::DeleteObject(HeldPalette);
    // The Raster owns its own palette; holding the same handle would free it twice.
    const bool rastersOwn = Raster != nullptr && palette != 0 && palette == Raster->Palette();
    HeldPalette = rastersOwn ? app::CopyPalette(palette) : palette;
    if (drop) {
        PaletteModified = true;
        Changed(this);
    }
}

void TJPEGImage::ReadClipboard(std::uint16_t format, app::HGLOBAL data, app::HPALETTE palette) {
    auto pasted = std::make_unique<app::TBitmap>();
    pasted->ReadClipboard(format, data, palette);
    // The stored bytes no longer show this picture; saving encodes the paste.
    NewStore();
    Raster = std::move(pasted);
}

void TJPEGImage::WriteClipboard(std::uint16_t& format, app::HGLOBAL& data, app::HPALETTE& palette) {
    EnsureRaster().WriteClipboard(format, data, palette);
}

}  // namespace jpeg
