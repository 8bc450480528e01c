#pragma once

#include <vector>

#include "tests/jpeg/jpeg_samples.h"

namespace jpegtest {

// libjpeg-turbo's own decoder, called directly: float DCT, block smoothing.
struct ReferenceImage {
    int width = 0;
    int height = 0;
    int components = 0;           // bytes per pixel in `pixels`
    Bytes pixels;                 // top row first, rows packed
    std::vector<Bytes> colormap;  // per component, when quantized
};

struct ReferenceSettings {
    bool bgr = false;       // JCS_EXT_BGR instead of libjpeg's RGB choice
    bool quantize = false;  // 236 colours
};

ReferenceImage DecodeWithLibjpeg(const Bytes& jpeg, ReferenceSettings settings);

}  // namespace jpegtest
