#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/graphics/graphics_types.h"

namespace app {

struct PaletteEntry {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    std::uint8_t Flags = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

// A logical palette as handed to CreatePalette.
struct LogPalette {
    std::uint16_t Version = 0x300;
    std::vector<PaletteEntry> Entries;
};

// System palettes: a table of handles to colour lists. A handle is never
// reused, so a stale handle finds nothing instead of someone else's palette.

// A palette of 1 to 256 entries; 0 for any other count.
HPALETTE CreatePalette(const LogPalette& palette);
// The halftone palette for a device of 256 colours or fewer.
HPALETTE CreateHalftonePalette(HDC dc);
// Copies up to `count` entries from `start` into `entries`; returns the
// number copied, 0 for an unknown handle.
std::uint32_t GetPaletteEntries(HPALETTE palette, std::uint32_t start, std::uint32_t count, PaletteEntry* entries);
// Deletes the palette; false for an unknown handle.
bool DeleteObject(HPALETTE palette);
// A new palette with the same entries; 0 for an unknown handle.
HPALETTE CopyPalette(HPALETTE palette);
// All entries of a palette; empty for an unknown handle.
std::vector<PaletteEntry> PaletteEntries(HPALETTE palette);

// Palettes not yet deleted; tests use it to find leaks.
std::size_t LivePaletteCount();

}  // namespace app
