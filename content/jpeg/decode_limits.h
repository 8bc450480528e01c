#pragma once

#include <cstdint>

namespace jpeg {

// Images with more pixels than this are refused before anything is
// allocated for them (JPEG error for "image too big"). 64 Mpixels is far
// beyond a photograph on screen; the fuzzer lowers it to keep runs short.
inline constexpr std::uint64_t kDefaultMaxDecodePixels = std::uint64_t{1} << 26;
std::uint64_t MaxDecodePixels();
void SetMaxDecodePixels(std::uint64_t pixels);

// More scans than this end decoding with libjpeg's "invalid progression".
inline constexpr int kMaxScans = 500;

}  // namespace jpeg
