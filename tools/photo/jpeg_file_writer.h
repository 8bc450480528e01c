#pragma once

#include <vector>

namespace photo {

// Baseline JFIF, three components, optimized Huffman tables.
std::vector<unsigned char> EncodeBaselineJpeg(const std::vector<unsigned char>& rgb, int width, int height,
                                              int quality);

}  // namespace photo
