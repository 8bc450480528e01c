#pragma once

#include "app/graphics/graphics_types.h"
#include "content/jpeg/libjpeg.h"

namespace jpeg {

class CodecSession;

// A system palette from libjpeg's colour map, read before
// jpeg_finish_decompress frees it. libjpeg's components are blue, green, red
// (one gray component for grayscale output).
app::HPALETTE PaletteFromColormap(const jpeg_decompress_struct& decoder);

// Makes libjpeg map the image onto exactly the palette's colours. False when
// the palette has no entries, and then nothing changes.
bool ColormapFromPalette(CodecSession& session, app::HPALETTE palette);

}  // namespace jpeg
