#pragma once

#include <cstdint>

namespace app {

class TStream;

// The 32-bit little-endian byte count that precedes a picture's stored bytes.
// Reading raises EReadError when the count is incomplete, negative or larger
// than the bytes left in the stream, so that no reader allocates for it.
std::int32_t ReadStoredCount(TStream& stream);
void WriteStoredCount(TStream& stream, std::int32_t count);

}  // namespace app
