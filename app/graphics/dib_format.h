#pragma once

#include <span>
#include <vector>

namespace app {

class TBitmap;

// A packed device-independent bitmap: info header, colour table, rows.
std::vector<unsigned char> PackDib(const TBitmap& bitmap);
// Raises EInvalidGraphic for anything but an uncompressed 8- or 24-bit DIB
// whose parts all lie inside `dib`.
void UnpackDib(std::span<const unsigned char> dib, TBitmap& bitmap);

// A bitmap file: the file header, then the packed DIB.
std::vector<unsigned char> BitmapFileBytes(const TBitmap& bitmap);
void ReadBitmapFile(std::span<const unsigned char> file, TBitmap& bitmap);

}  // namespace app
