#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/graphics/graphics_types.h"

namespace app {

// Clipboard data formats (the system's CF_DIB, a macro in the Windows
// headers).
inline constexpr std::uint16_t kClipboardDib = 8;

// Movable memory blocks handed over with the clipboard, by handle.
HGLOBAL GlobalAllocBytes(std::vector<unsigned char> bytes);
// The block's bytes; nullptr for an unknown handle.
const std::vector<unsigned char>* GlobalBytes(HGLOBAL block);
bool GlobalFree(HGLOBAL block);
std::size_t LiveGlobalCount();

}  // namespace app
