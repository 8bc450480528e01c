#pragma once

#include <cstddef>
#include <cstdint>

namespace jpegtest {

// One fuzz input: read as a picture's stored data, drawn, written back as a
// picture stream. Expected failures (EJPEG, the read error) are swallowed;
// anything else, or any memory error, is a finding.
void FuzzStoredPicture(const std::uint8_t* data, std::size_t size);

}  // namespace jpegtest
