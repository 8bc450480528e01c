#include "app/graphics/stored_count.h"

#include "app/graphics/graphics_exceptions.h"
#include "app/graphics/stream.h"

namespace app {

std::int32_t ReadStoredCount(TStream& stream) {
    unsigned char bytes[4] = {};
    if (stream.Read(bytes, 4) != 4) throw EReadError();
    const auto count = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
    if (count < 0 || count > stream.Remaining()) throw EReadError();
    return count;
}

void WriteStoredCount(TStream& stream, std::int32_t count) {
    const auto value = static_cast<std::uint32_t>(count);
    const unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    stream.WriteBuffer(bytes, 4);
}

}  // namespace app
