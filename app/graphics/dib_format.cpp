#include "app/graphics/dib_format.h"

#include <cstdint>
#include <cstring>
#include <optional>

#include "app/graphics/bitmap.h"
#include "app/graphics/graphics_exceptions.h"
#include "app/graphics/system_palettes.h"

namespace app {

namespace {

constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

void Put16(std::vector<unsigned char>& out, std::uint32_t value) {
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void Put32(std::vector<unsigned char>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::uint32_t Get16(std::span<const unsigned char> in, std::size_t at) {
    return static_cast<std::uint32_t>(in[at]) | static_cast<std::uint32_t>(in[at + 1]) << 8;
}

std::uint32_t Get32(std::span<const unsigned char> in, std::size_t at) {
    return Get16(in, at) | Get16(in, at + 2) << 16;
}

[[noreturn]] void Invalid() { throw EInvalidGraphic("The bitmap data is damaged or is not a bitmap"); }

// `pixelOffset` is where the rows start when a file header says so; by
// default they follow the colour table.
void Unpack(std::span<const unsigned char> dib, std::optional<std::size_t> pixelOffset, TBitmap& bitmap) {
    if (dib.size() < kInfoHeaderSize) Invalid();
    const std::uint32_t headerSize = Get32(dib, 0);
    const auto width = static_cast<std::int32_t>(Get32(dib, 4));
    const auto rawHeight = static_cast<std::int32_t>(Get32(dib, 8));
    const std::uint32_t planes = Get16(dib, 12);
    const std::uint32_t bitCount = Get16(dib, 14);
    const std::uint32_t compression = Get32(dib, 16);
    const std::uint32_t coloursUsed = Get32(dib, 32);
    if (headerSize < kInfoHeaderSize || headerSize > dib.size() || planes != 1 || compression != 0) Invalid();
    if ((bitCount != 8 && bitCount != 24) || width < 0 || rawHeight == INT32_MIN) Invalid();
    const bool topDown = rawHeight < 0;
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    if (std::int64_t{width} * height > kMaxPixels) Invalid();

    const std::uint32_t colours = bitCount == 8 && coloursUsed == 0 ? 256 : coloursUsed;
    if (colours > 256) Invalid();
    const std::size_t tableAt = headerSize;
    const std::size_t rowsAt = pixelOffset.value_or(tableAt + std::size_t{colours} * 4);
    if (tableAt + std::size_t{colours} * 4 > rowsAt || rowsAt > dib.size()) Invalid();

    const TPixelFormat format = bitCount == 8 ? TPixelFormat::pf8bit : TPixelFormat::pf24bit;
    const std::int64_t rowBytes = std::int64_t{width} * (bitCount / 8);
    const std::int64_t stride = (rowBytes + 3) / 4 * 4;
    if (stride * height > static_cast<std::int64_t>(dib.size() - rowsAt)) Invalid();

    TBitmap loaded;
    loaded.SetPixelFormat(format);
    loaded.SetSize(width, height);
    for (std::int32_t row = 0; row < height; ++row) {
        const std::int64_t fileRow = topDown ? row : height - 1 - row;
        if (rowBytes > 0)
            std::memcpy(loaded.GetScanline(row), dib.data() + rowsAt + fileRow * stride,
                        static_cast<std::size_t>(rowBytes));
    }
    if (format == TPixelFormat::pf8bit && colours > 0) {
        LogPalette palette;
        for (std::uint32_t i = 0; i < colours; ++i) {
            const std::size_t at = tableAt + std::size_t{i} * 4;
            palette.Entries.push_back({dib[at + 2], dib[at + 1], dib[at], 0});
        }
        loaded.ReplacePalette(CreatePalette(palette));
    }
    bitmap.Assign(&loaded);
}

}  // namespace

std::vector<unsigned char> PackDib(const TBitmap& bitmap) {
    const bool indexed = bitmap.PixelFormat() == TPixelFormat::pf8bit;
    std::vector<PaletteEntry> palette;
    if (indexed) {
        palette = PaletteEntries(bitmap.Palette());
        // Without a palette the bitmap draws with a gray ramp; so does the DIB.
        if (palette.empty()) {
            for (int i = 0; i < 256; ++i) {
                const auto level = static_cast<std::uint8_t>(i);
                palette.push_back({level, level, level, 0});
            }
        }
    }
    const std::int32_t height = bitmap.PixelHeight();
    const std::int32_t stride = bitmap.BytesPerRow();
    const auto imageSize = static_cast<std::uint32_t>(std::int64_t{stride} * height);

    std::vector<unsigned char> dib;
    dib.reserve(kInfoHeaderSize + palette.size() * 4 + imageSize);
    Put32(dib, kInfoHeaderSize);
    Put32(dib, static_cast<std::uint32_t>(bitmap.PixelWidth()));
    Put32(dib, static_cast<std::uint32_t>(height));  // positive: bottom-up rows
    Put16(dib, 1);
    Put16(dib, indexed ? 8 : 24);
    Put32(dib, 0);  // uncompressed
    Put32(dib, imageSize);
    Put32(dib, 0);
    Put32(dib, 0);
    Put32(dib, static_cast<std::uint32_t>(palette.size()));
    Put32(dib, 0);
    for (const PaletteEntry& entry : palette) {
        dib.push_back(entry.Blue);
        dib.push_back(entry.Green);
        dib.push_back(entry.Red);
        dib.push_back(0);
    }
    // The bitmap keeps its rows bottom-up, as a DIB does.
    for (std::int32_t stored = 0; stored < height; ++stored) {
        const unsigned char* row = bitmap.Scanline(height - 1 - stored);
        dib.insert(dib.end(), row, row + stride);
    }
    return dib;
}

void UnpackDib(std::span<const unsigned char> dib, TBitmap& bitmap) { Unpack(dib, std::nullopt, bitmap); }

std::vector<unsigned char> BitmapFileBytes(const TBitmap& bitmap) {
    const std::vector<unsigned char> dib = PackDib(bitmap);
    const std::uint32_t colours = Get32(dib, 32);
    std::vector<unsigned char> file;
    file.reserve(kFileHeaderSize + dib.size());
    file.push_back('B');
    file.push_back('M');
    Put32(file, static_cast<std::uint32_t>(kFileHeaderSize + dib.size()));
    Put32(file, 0);
    Put32(file, static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize + colours * 4));
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

void ReadBitmapFile(std::span<const unsigned char> file, TBitmap& bitmap) {
    if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M') Invalid();
    const std::uint32_t rowsAt = Get32(file, 10);
    if (rowsAt < kFileHeaderSize) Invalid();
    Unpack(file.subspan(kFileHeaderSize), rowsAt - kFileHeaderSize, bitmap);
}

}  // namespace app
