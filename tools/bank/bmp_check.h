#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tools/bank/diagnostics.h"
#include "tools/bank/picture_table.h"

namespace banktool {

// What is wrong with a picture's BMP file, against its entry of the picture
// table: format, size, colours, where the drawing lies. Empty when sound.
std::vector<std::string> BmpProblems(std::span<const unsigned char> bytes, const MapSignPicture& sign);

// Inclusive bounds of the pixels that are not white; empty for a blank or
// malformed file.
std::optional<Extent> DrawingExtent(std::span<const unsigned char> bytes);

// The seven picture files "<name>.bmp" of a directory.
void CheckPictureFiles(const std::filesystem::path& directory, Diagnostics& diagnostics);

std::filesystem::path PicturePath(const std::filesystem::path& directory, const MapSignPicture& sign);

}  // namespace banktool
