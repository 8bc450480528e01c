#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jpegtest {

using Bytes = std::vector<unsigned char>;

// What a test JPEG looks like; the tests make their own with libjpeg.
struct SampleRecipe {
    std::string name = {};
    int width = 64;
    int height = 48;
    bool gray = false;
    bool progressive = false;
    bool cmyk = false;
    int restartRows = 0;  // restart marker every n MCU rows; 0 for none
    int quality = 85;
    int lumaSampling = 2;  // horizontal and vertical factor of the first component
};

// A smooth, structured RGB test image with some fine detail, top row first.
Bytes SyntheticRgb(int width, int height);
Bytes MakeJpeg(const SampleRecipe& recipe);

// The stored forms: count + bytes, and the class name in front of that.
Bytes StoredData(const Bytes& jpeg);
Bytes StoredPicture(const Bytes& jpeg);

// Rewrites the frame header's dimensions, for hostile-header tests.
Bytes WithDimensions(Bytes jpeg, int width, int height);

}  // namespace jpegtest
