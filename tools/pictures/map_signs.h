#pragma once

#include "tools/bank/picture_table.h"
#include "tools/pictures/canvas.h"

namespace pictures {

// The conventional map sign that a picture question shows, drawn in the
// top-left corner of a white 595 × 446 raster in the picture's colour.
Canvas DrawMapSign(const banktool::MapSignPicture& sign);

}  // namespace pictures
