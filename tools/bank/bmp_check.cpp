#include "tools/bank/bmp_check.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>

namespace banktool {
namespace {

std::uint32_t U32(std::span<const unsigned char> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t U16(std::span<const unsigned char> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

bool HasExpectedHeader(std::span<const unsigned char> b) {
    return b.size() == static_cast<std::size_t>(kBmpFileSize) && b[0] == 'B' && b[1] == 'M' &&
           U32(b, 2) == static_cast<std::uint32_t>(kBmpFileSize) && U32(b, 6) == 0 && U32(b, 10) == kBmpHeaderSize &&
           U32(b, 14) == 40 && U32(b, 18) == static_cast<std::uint32_t>(kPictureWidth) &&
           U32(b, 22) == static_cast<std::uint32_t>(kPictureHeight) &&  // positive: rows stored bottom-up
           U16(b, 26) == 1 && U16(b, 28) == 24 && U32(b, 30) == 0 && U32(b, 46) == 0 && U32(b, 50) == 0;
}

// The pixel at (x, y) counted from the top-left corner.
Rgb PixelAt(std::span<const unsigned char> b, int x, int y) {
    const std::size_t at = static_cast<std::size_t>(kBmpHeaderSize) +
                           static_cast<std::size_t>(kPictureHeight - 1 - y) * kBmpRowSize +
                           static_cast<std::size_t>(x) * 3;
    return {b[at + 2], b[at + 1], b[at]};
}

std::string Describe(const Extent& e) {
    return "x " + std::to_string(e.left) + "–" + std::to_string(e.right) + ", y " + std::to_string(e.top) + "–" +
           std::to_string(e.bottom);
}

}  // namespace

std::optional<Extent> DrawingExtent(std::span<const unsigned char> bytes) {
    if (!HasExpectedHeader(bytes)) return std::nullopt;
    std::optional<Extent> extent;
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            if (PixelAt(bytes, x, y) == kWhite) continue;
            if (!extent) {
                extent = Extent{x, x, y, y};
            } else {
                extent->left = std::min(extent->left, x);
                extent->right = std::max(extent->right, x);
                extent->bottom = y;
            }
        }
    }
    return extent;
}

std::vector<std::string> BmpProblems(std::span<const unsigned char> bytes, const MapSignPicture& sign) {
    if (bytes.size() != static_cast<std::size_t>(kBmpFileSize)) {
        return {"the file has " + std::to_string(bytes.size()) + " bytes, expected " + std::to_string(kBmpFileSize)};
    }
    if (!HasExpectedHeader(bytes)) {
        return {"the header is not that of an uncompressed 24-bit 595 × 446 bottom-up BMP without a colour table"};
    }
    std::vector<std::string> problems;
    int strayPixels = 0;
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            const Rgb pixel = PixelAt(bytes, x, y);
            if (pixel != kWhite && pixel != sign.colour && ++strayPixels == 1) {
                problems.push_back("pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") has colour " +
                                   std::to_string(pixel.red) + "," + std::to_string(pixel.green) + "," +
                                   std::to_string(pixel.blue) + "; the drawing is white and one colour");
            }
        }
        const std::size_t rowEnd =
            static_cast<std::size_t>(kBmpHeaderSize) + static_cast<std::size_t>(y + 1) * kBmpRowSize;
        for (std::size_t pad = rowEnd - (kBmpRowSize - kPictureWidth * 3); pad < rowEnd; ++pad) {
            if (bytes[pad] != 0) {
                problems.emplace_back("row padding bytes must be zero");
                y = kPictureHeight;
                break;
            }
        }
    }
    if (strayPixels > 1) problems.push_back(std::to_string(strayPixels) + " pixels in all have a stray colour");
    const auto extent = DrawingExtent(bytes);
    if (!extent) {
        problems.emplace_back("the picture is blank");
    } else {
        const Extent& e = *extent;
        const Extent& want = sign.extent;
        if (e.left != want.left || e.right != want.right || e.top != want.top || e.bottom != want.bottom) {
            problems.push_back("the drawing lies at " + Describe(e) + ", expected " + Describe(want));
        }
        if (!sign.clippedByBox && (e.right >= sign.box.width || e.bottom >= sign.box.height)) {
            problems.push_back("the drawing reaches beyond its box of " + std::to_string(sign.box.width) + " × " +
                               std::to_string(sign.box.height));
        }
    }
    return problems;
}

std::filesystem::path PicturePath(const std::filesystem::path& directory, const MapSignPicture& sign) {
    return directory / (std::string(sign.name) + ".bmp");
}

void CheckPictureFiles(const std::filesystem::path& directory, Diagnostics& diagnostics) {
    for (const MapSignPicture& sign : kPictures) {
        const std::filesystem::path path = PicturePath(directory, sign);
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            diagnostics.Add(path.string(), 0, "cannot open the picture of [" + std::string(sign.name) + "]");
            continue;
        }
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        for (std::string& problem : BmpProblems(bytes, sign)) {
            // Appended, not put in front: GCC 12 warns falsely about the latter (-Wrestrict).
            diagnostics.Add(path.string(), 0, std::string("[").append(sign.name).append("] ").append(problem));
        }
    }
}

}  // namespace banktool
