#include "content/jpeg/decode_limits.h"

namespace jpeg {

namespace {
std::uint64_t maxDecodePixels = kDefaultMaxDecodePixels;
}

std::uint64_t MaxDecodePixels() { return maxDecodePixels; }

void SetMaxDecodePixels(std::uint64_t pixels) { maxDecodePixels = pixels; }

}  // namespace jpeg
