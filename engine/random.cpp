#include "engine/random.h"

namespace engine {

std::int32_t LinearRandom::Next() {
    // Two 15-bit steps make a 30-bit number, so a draw modulo n stays even
    // for any n the walk uses.
    state_ = state_ * 214013u + 2531011u;
    const std::uint32_t high = (state_ >> 16) & 0x7FFFu;
    state_ = state_ * 214013u + 2531011u;
    const std::uint32_t low = (state_ >> 16) & 0x7FFFu;
    return static_cast<std::int32_t>((high << 15) | low);
}

WalkSource& DefaultWalkSource() {
    static LinearRandom random;
    static WalkSource source{random, [] { return std::time(nullptr); }};
    return source;
}

}  // namespace engine
