#include "content/jpeg/jpeg_palette.h"

#include <algorithm>
#include <array>

#include "app/graphics/system_palettes.h"
#include "content/jpeg/jpeg_codec.h"

namespace jpeg {

namespace {

struct PaletteColours {
    const app::PaletteEntry* Entries;
    std::uint32_t Count;
};

void InstallColormap(CodecRecord& record, void* context) {
    const auto* colours = static_cast<const PaletteColours*>(context);
    jpeg_decompress_struct& decoder = record.Decompress;
    // libjpeg maps onto an external colour map only in three components; a
    // grayscale image is expanded so that it, too, lands on these colours.
    if (decoder.out_color_space == JCS_GRAYSCALE) decoder.out_color_space = JCS_EXT_BGR;
    JSAMPARRAY map =
        (*decoder.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&decoder), JPOOL_IMAGE, colours->Count, 3);
    for (std::uint32_t i = 0; i < colours->Count; ++i) {
        map[2][i] = colours->Entries[i].Red;
        map[1][i] = colours->Entries[i].Green;
        map[0][i] = colours->Entries[i].Blue;
    }
    decoder.colormap = map;
    decoder.actual_number_of_colors = static_cast<int>(colours->Count);
}

}  // namespace

app::HPALETTE PaletteFromColormap(const jpeg_decompress_struct& decoder) {
    app::LogPalette palette;
    const int count = std::clamp(decoder.actual_number_of_colors, 0, 256);
    const bool gray = decoder.out_color_components == 1;
    for (int i = 0; i < count; ++i) {
        if (gray) {
            const JSAMPLE level = decoder.colormap[0][i];
            palette.Entries.push_back({level, level, level, 0});
        } else {
            palette.Entries.push_back({decoder.colormap[2][i], decoder.colormap[1][i], decoder.colormap[0][i], 0});
        }
    }
    return app::CreatePalette(palette);
}

bool ColormapFromPalette(CodecSession& session, app::HPALETTE palette) {
    std::array<app::PaletteEntry, 256> entries;
    const std::uint32_t count = app::GetPaletteEntries(palette, 0, 256, entries.data());
    if (count == 0) return false;
    PaletteColours colours{entries.data(), count};
    session.Run(InstallColormap, &colours);
    return true;
}

}  // namespace jpeg
