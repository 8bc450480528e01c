#pragma once

#include <QImage>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "app/graphics/graphic.h"

namespace app {

enum class TPixelFormat { pf8bit, pf24bit };

// Pixel storage that a vector leaves uninitialised when it is sized without
// a value; code that needs zeros asks for them.
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <class U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <class U, class... Args>
    void construct(U* place, Args&&... args) {
        if constexpr (sizeof...(Args) == 0) {
            ::new (static_cast<void*>(place)) U;
        } else {
            ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
        }
    }
};
using PixelBytes = std::vector<unsigned char, UninitialisedAllocator<unsigned char>>;

// A device-independent bitmap: 8 bits per pixel with a palette, or 24 bits
// per pixel in blue-green-red order. Rows are stored bottom-up with each row
// padded to 4 bytes, so GetScanline(1) − GetScanline(0) is negative.
class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;

    static TGraphicClass Class();
    const char* ClassName() const override { return "TBitmap"; }

    // From another bitmap (pixels, format and a copy of its palette), from
    // nothing (clears), or whatever the source can assign to a bitmap.
    void Assign(TPersistent* source) override;

    void RenderTo(TCanvas& canvas, const TRect& rect) override;
    bool IsBlank() const override;
    std::int32_t PixelHeight() const override { return height_; }
    HPALETTE PaletteHandle() override { return palette_; }
    HPALETTE Palette() const { return palette_; }
    std::int32_t PixelWidth() const override { return width_; }
    // A 32-bit count, then a bitmap file of that many bytes.
    void ReadStoredData(TStream& stream) override;
    void ResizeHeight(std::int32_t height) override;
    void ReplacePalette(HPALETTE palette) override;
    void ResizeWidth(std::int32_t width) override;
    void WriteStoredData(TStream& stream) override;
    // A bitmap file (BMP), 8 or 24 bits per pixel, uncompressed.
    void ReadPicture(TStream& stream) override;
    void WritePicture(TStream& stream) override;
    // kClipboardDib only. Reading takes a copy of `palette` when one is given;
    // writing hands out a new memory block and a palette copy owned by the
    // receiver.
    void ReadClipboard(std::uint16_t format, HGLOBAL data, HPALETTE palette) override;
    void WriteClipboard(std::uint16_t& format, HGLOBAL& data, HPALETTE& palette) override;

    // Handle 0 releases the image: no pixels, size 0 × 0; the pixel format
    // and the palette stay. A bitmap has no other handles.
    void SetHandle(HBITMAP handle);
    void SetSize(std::int32_t width, std::int32_t height);
    // A new image for a writer that fills every pixel of every row: nothing
    // is kept and the pixels are not zeroed first (the row padding is).
    void SetSizeForOverwrite(std::int32_t width, std::int32_t height);
    TPixelFormat PixelFormat() const { return format_; }
    // Converts the pixels: through the palette to 24 bits, to the nearest
    // palette colour to 8 bits.
    void SetPixelFormat(TPixelFormat format);

    // Row `row` counted from the top; raises EInvalidGraphicOperation when
    // the row does not exist.
    unsigned char* GetScanline(std::int32_t row);
    const unsigned char* Scanline(std::int32_t row) const;
    std::int32_t BytesPerRow() const { return stride_; }

    // The pixels as a top-down Qt image, for drawing.
    QImage ToImage() const;

private:
    // Takes new pixel rows of the given shape and tells the picture it changed.
    void TakePixels(std::int32_t width, std::int32_t height, std::int32_t stride, PixelBytes pixels);
    void Reshape(std::int32_t width, std::int32_t height);
    std::vector<QRgb> ColourTable() const;

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t stride_ = 0;
    TPixelFormat format_ = TPixelFormat::pf24bit;
    PixelBytes pixels_;
    HPALETTE palette_ = 0;
    mutable QImage image_;
    mutable bool imageValid_ = false;
};

}  // namespace app
