#pragma once

#include <cstdint>
#include <ctime>
#include <functional>

namespace engine {

// The run-time library's generator as the test walk uses it: seeded with the
// calendar time in seconds, yielding non-negative numbers.
class Random {
public:
    virtual ~Random() = default;
    virtual void Seed(std::uint32_t seed) = 0;
    virtual std::int32_t Next() = 0;  // 0 … 0x7FFFFFFF
};

// A linear congruential generator with the classic C library constants.
class LinearRandom final : public Random {
public:
    void Seed(std::uint32_t seed) override { state_ = seed; }
    std::int32_t Next() override;

private:
    std::uint32_t state_ = 1;
};

using Clock = std::function<std::time_t()>;

// The generator and clock the program uses; tests pass their own.
struct WalkSource {
    Random& random;
    Clock clock;
};

WalkSource& DefaultWalkSource();

}  // namespace engine
