#include "app/graphics/system_palettes.h"

#include <algorithm>
#include <map>

namespace app {

namespace {

struct PaletteTable {
    std::map<HPALETTE, std::vector<PaletteEntry>> palettes;
    HPALETTE nextHandle = 0x2000;
};

PaletteTable& Table() {
    static PaletteTable table;
    return table;
}

HPALETTE Insert(std::vector<PaletteEntry> entries) {
    PaletteTable& table = Table();
    const HPALETTE handle = table.nextHandle++;
    table.palettes.emplace(handle, std::move(entries));
    return handle;
}

const std::vector<PaletteEntry>* Find(HPALETTE palette) {
    const auto found = Table().palettes.find(palette);
    return found == Table().palettes.end() ? nullptr : &found->second;
}

}  // namespace

HPALETTE CreatePalette(const LogPalette& palette) {
    if (palette.Entries.empty() || palette.Entries.size() > 256) return 0;
    return Insert(palette.Entries);
}

HPALETTE CreateHalftonePalette(HDC) {
    // A 6 × 6 × 6 colour cube and a ramp of 40 grays between its levels.
    std::vector<PaletteEntry> entries;
    entries.reserve(256);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                entries.push_back({static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                                   static_cast<std::uint8_t>(b * 51), 0});
    for (int i = 0; entries.size() < 256; ++i) {
        const auto level = static_cast<std::uint8_t>(6 + i * 6 + i / 8);
        entries.push_back({level, level, level, 0});
    }
    return Insert(std::move(entries));
}

std::uint32_t GetPaletteEntries(HPALETTE palette, std::uint32_t start, std::uint32_t count, PaletteEntry* entries) {
    const std::vector<PaletteEntry>* found = Find(palette);
    if (found == nullptr || start >= found->size() || entries == nullptr) return 0;
    const auto copied = static_cast<std::uint32_t>(std::min<std::size_t>(count, found->size() - start));
    std::copy_n(found->begin() + start, copied, entries);
    return copied;
}

bool DeleteObject(HPALETTE palette) { return Table().palettes.erase(palette) == 1; }

HPALETTE CopyPalette(HPALETTE palette) {
    const std::vector<PaletteEntry>* found = Find(palette);
    return found == nullptr ? 0 : Insert(*found);
}

std::vector<PaletteEntry> PaletteEntries(HPALETTE palette) {
    const std::vector<PaletteEntry>* found = Find(palette);
    return found == nullptr ? std::vector<PaletteEntry>{} : *found;
}

std::size_t LivePaletteCount() { return Table().palettes.size(); }

}  // namespace app
