#include "app/graphics/bitmap.h"

#include <QPainter>
#include <algorithm>
#include <bit>
#include <cstring>
#include <unordered_map>

#include "app/graphics/canvas.h"
#include "app/graphics/dib_format.h"
#include "app/graphics/global_memory.h"
#include "app/graphics/graphics_exceptions.h"
#include "app/graphics/stored_count.h"
#include "app/graphics/stream.h"
#include "app/graphics/system_palettes.h"
#include "app/graphics/system_screen.h"

namespace app {

namespace {

constexpr std::int64_t kMaxPixelBytes = std::int64_t{1} << 30;

int BytesPerPixel(TPixelFormat format) { return format == TPixelFormat::pf8bit ? 1 : 3; }

// The row size of a width × height bitmap, padded to 4 bytes. Computed and
// checked in 64 bits: a 32-bit row of 1,431,655,766 pixels wraps to 4 bytes.
std::int32_t CheckedStride(std::int32_t width, std::int32_t height, TPixelFormat format) {
    const std::int64_t stride = (std::int64_t{width} * BytesPerPixel(format) * 8 + 31) / 32 * 4;
    if (stride > kMaxPixelBytes || stride * height > kMaxPixelBytes)
        throw EInvalidGraphicOperation("The bitmap would be larger than a picture may be");
    return static_cast<std::int32_t>(stride);
}

std::int64_t SquaredDistance(const PaletteEntry& entry, int blue, int green, int red) {
    const int dr = entry.Red - red;
    const int dg = entry.Green - green;
    const int db = entry.Blue - blue;
    return std::int64_t{dr} * dr + std::int64_t{dg} * dg + std::int64_t{db} * db;
}

// Blue-green-red pixels to the painter's 0xffRRGGBB. On a little-endian
// machine a pixel's three bytes read as one word are already 0x??RRGGBB, so
// each pixel but the row's last (whose fourth byte may lie past the pixels)
// is one load and one store.
void WidenRow(const unsigned char* in, QRgb* out, std::int32_t width) {
    std::int32_t x = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; x + 1 < width; ++x, in += 3) {
            std::uint32_t word;
            std::memcpy(&word, in, sizeof word);
            out[x] = word | 0xff000000u;
        }
    }
    for (; x < width; ++x, in += 3) out[x] = qRgb(in[2], in[1], in[0]);
}

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    if (palette_ != 0) DeleteObject(palette_);
}

TGraphicClass TBitmap::Class() {
    static const TGraphicClassInfo info{"TBitmap",
                                        []() -> std::unique_ptr<TGraphic> { return std::make_unique<TBitmap>(); }};
    return &info;
}

void TBitmap::Assign(TPersistent* source) {
    if (source == nullptr) {
        SetHandle(0);
        ReplacePalette(0);
        Changed(this);
        return;
    }
    auto* other = dynamic_cast<TBitmap*>(source);
    if (other == nullptr) {
        TGraphic::Assign(source);
        return;
    }
    if (other == this) return;
    width_ = other->width_;
    height_ = other->height_;
    stride_ = other->stride_;
    format_ = other->format_;
    pixels_ = other->pixels_;
    imageValid_ = false;
    ReplacePalette(other->palette_ != 0 ? CopyPalette(other->palette_) : 0);
    Changed(this);
}

void TBitmap::RenderTo(TCanvas& canvas, const TRect& rect) {
    if (IsBlank() || rect.IsEmpty()) return;
    canvas.Painter().drawImage(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), ToImage());
}

bool TBitmap::IsBlank() const { return width_ == 0 || height_ == 0; }

void TBitmap::ReadStoredData(TStream& stream) {
    const std::int32_t count = ReadStoredCount(stream);
    if (count == 0) {
        SetHandle(0);
        return;
    }
    std::vector<unsigned char> file(static_cast<std::size_t>(count));
    stream.ReadBuffer(file.data(), count);
    ReadBitmapFile(file, *this);
}

void TBitmap::ResizeHeight(std::int32_t height) { Reshape(width_, height); }

void TBitmap::ReplacePalette(HPALETTE palette) {
    if (palette == palette_) return;
    if (palette_ != 0) DeleteObject(palette_);
    palette_ = palette;
    imageValid_ = false;
    PaletteModified = true;
    Changed(this);
}

void TBitmap::ResizeWidth(std::int32_t width) { Reshape(width, height_); }

void TBitmap::WriteStoredData(TStream& stream) {
    if (IsBlank()) {
        WriteStoredCount(stream, 0);
        return;
    }
    const std::vector<unsigned char> file = BitmapFileBytes(*this);
    WriteStoredCount(stream, static_cast<std::int32_t>(file.size()));
    stream.WriteBuffer(file.data(), static_cast<std::int32_t>(file.size()));
}

void TBitmap::ReadPicture(TStream& stream) {
    const std::int64_t remaining = stream.Remaining();
    if (remaining > kMaxPixelBytes) throw EInvalidGraphic("The bitmap data is damaged or is not a bitmap");
    std::vector<unsigned char> file(static_cast<std::size_t>(remaining));
    stream.ReadBuffer(file.data(), static_cast<std::int32_t>(remaining));
    ReadBitmapFile(file, *this);
}

void TBitmap::WritePicture(TStream& stream) {
    const std::vector<unsigned char> file = BitmapFileBytes(*this);
    stream.WriteBuffer(file.data(), static_cast<std::int32_t>(file.size()));
}

void TBitmap::ReadClipboard(std::uint16_t format, HGLOBAL data, HPALETTE palette) {
    if (format != kClipboardDib) throw EInvalidGraphic("The clipboard holds no bitmap");
    const std::vector<unsigned char>* dib = GlobalBytes(data);
    if (dib == nullptr) throw EInvalidGraphic("The clipboard's bitmap is empty");
    TBitmap loaded;
    UnpackDib(*dib, loaded);
    if (palette != 0 && loaded.format_ == TPixelFormat::pf8bit) loaded.ReplacePalette(CopyPalette(palette));
    Assign(&loaded);
}

void TBitmap::WriteClipboard(std::uint16_t& format, HGLOBAL& data, HPALETTE& palette) {
    format = kClipboardDib;
    data = GlobalAllocBytes(PackDib(*this));
    palette = palette_ != 0 ? CopyPalette(palette_) : 0;
}

void TBitmap::SetHandle(HBITMAP handle) {
    if (handle != 0) throw EInvalidGraphicOperation("A bitmap is not made from a system handle here");
    width_ = 0;
    height_ = 0;
    stride_ = 0;
    pixels_.clear();
    pixels_.shrink_to_fit();
    imageValid_ = false;
}

void TBitmap::SetSize(std::int32_t width, std::int32_t height) { Reshape(width, height); }

void TBitmap::SetSizeForOverwrite(std::int32_t width, std::int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const std::int32_t stride = CheckedStride(width, height, format_);
    PixelBytes fresh(static_cast<std::size_t>(std::int64_t{stride} * height));
    const std::int32_t used = width * BytesPerPixel(format_);
    if (used < stride) {
        for (std::int32_t row = 0; row < height; ++row)
            std::memset(fresh.data() + std::int64_t{row} * stride + used, 0, static_cast<std::size_t>(stride - used));
    }
    TakePixels(width, height, stride, std::move(fresh));
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_) return;
    const std::int32_t stride = CheckedStride(width_, height_, format);
    PixelBytes converted(static_cast<std::size_t>(std::int64_t{stride} * height_), 0);
    if (format == TPixelFormat::pf24bit) {
        const std::vector<QRgb> colours = ColourTable();
        for (std::int32_t y = 0; y < height_; ++y) {
            const unsigned char* from = pixels_.data() + std::int64_t{y} * stride_;
            unsigned char* to = converted.data() + std::int64_t{y} * stride;
            for (std::int32_t x = 0; x < width_; ++x) {
                const QRgb colour = colours[from[x]];
                to[3 * x] = static_cast<unsigned char>(qBlue(colour));
                to[3 * x + 1] = static_cast<unsigned char>(qGreen(colour));
                to[3 * x + 2] = static_cast<unsigned char>(qRed(colour));
            }
        }
    } else {
        if (palette_ == 0 && !IsBlank()) {
            const HDC dc = GetDC(0);
            palette_ = CreateHalftonePalette(dc);
            ReleaseDC(0, dc);
        }
        const std::vector<PaletteEntry> entries = PaletteEntries(palette_);
        std::unordered_map<std::uint32_t, unsigned char> nearest;
        for (std::int32_t y = 0; y < height_; ++y) {
            const unsigned char* from = pixels_.data() + std::int64_t{y} * stride_;
            unsigned char* to = converted.data() + std::int64_t{y} * stride;
            for (std::int32_t x = 0; x < width_; ++x) {
                const int b = from[3 * x], g = from[3 * x + 1], r = from[3 * x + 2];
                const auto key = static_cast<std::uint32_t>(b | g << 8 | r << 16);
                auto found = nearest.find(key);
                if (found == nearest.end()) {
                    std::size_t best = 0;
                    for (std::size_t i = 1; i < entries.size(); ++i)
                        if (SquaredDistance(entries[i], b, g, r) < SquaredDistance(entries[best], b, g, r)) best = i;
                    found = nearest.emplace(key, static_cast<unsigned char>(best)).first;
                }
                to[x] = found->second;
            }
        }
    }
    format_ = format;
    TakePixels(width_, height_, stride, std::move(converted));
}

unsigned char* TBitmap::GetScanline(std::int32_t row) {
    imageValid_ = false;
    return const_cast<unsigned char*>(Scanline(row));
}

const unsigned char* TBitmap::Scanline(std::int32_t row) const {
    if (row < 0 || row >= height_) throw EInvalidGraphicOperation("The bitmap has no row " + std::to_string(row));
    return pixels_.data() + std::int64_t{height_ - 1 - row} * stride_;
}

QImage TBitmap::ToImage() const {
    if (imageValid_) return image_;
    // Converted once into the painter's own format, so that every paint only
    // scales. The storage is bottom-up, so the image's top row is the last
    // stored one.
    if (IsBlank()) {
        image_ = QImage();
    } else if (format_ == TPixelFormat::pf24bit) {
        // One pass that flips and widens: Qt has no fast converter for
        // blue-first rows, and three passes over the picture cost twice this.
        image_ = QImage(width_, height_, QImage::Format_RGB32);
        for (std::int32_t y = 0; y < height_; ++y)
            WidenRow(pixels_.data() + static_cast<std::size_t>(height_ - 1 - y) * stride_,
                     reinterpret_cast<QRgb*>(image_.scanLine(y)), width_);
    } else {
        QImage stored(pixels_.data(), width_, height_, stride_, QImage::Format_Indexed8);
        const std::vector<QRgb> colours = ColourTable();
        stored.setColorTable(QList<QRgb>(colours.begin(), colours.end()));
        image_ = stored.convertToFormat(QImage::Format_RGB32).mirrored(false, true);
    }
    imageValid_ = true;
    return image_;
}

void TBitmap::TakePixels(std::int32_t width, std::int32_t height, std::int32_t stride, PixelBytes pixels) {
    width_ = width;
    height_ = height;
    stride_ = stride;
    pixels_ = std::move(pixels);
    imageValid_ = false;
    Changed(this);
}

void TBitmap::Reshape(std::int32_t width, std::int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_) return;
    const std::int32_t stride = CheckedStride(width, height, format_);
    PixelBytes resized(static_cast<std::size_t>(std::int64_t{stride} * height), 0);
    // The rows that both sizes have keep their pixels, counted from the top.
    const std::int32_t keptRows = std::min(height, height_);
    const std::size_t keptBytes = static_cast<std::size_t>(std::min(width, width_)) * BytesPerPixel(format_);
    for (std::int32_t row = 0; row < keptRows && keptBytes > 0; ++row)
        std::memcpy(resized.data() + std::int64_t{height - 1 - row} * stride, Scanline(row), keptBytes);
    TakePixels(width, height, stride, std::move(resized));
}

std::vector<QRgb> TBitmap::ColourTable() const {
    // Indices beyond the palette are black; without a palette a gray ramp.
    std::vector<QRgb> colours(256, qRgb(0, 0, 0));
    if (palette_ == 0) {
        for (int i = 0; i < 256; ++i) colours[static_cast<std::size_t>(i)] = qRgb(i, i, i);
        return colours;
    }
    const std::vector<PaletteEntry> entries = PaletteEntries(palette_);
    for (std::size_t i = 0; i < entries.size() && i < colours.size(); ++i)
        colours[i] = qRgb(entries[i].Red, entries[i].Green, entries[i].Blue);
    return colours;
}

}  // namespace app
