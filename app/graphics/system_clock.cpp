#include "app/graphics/system_clock.h"

#include <chrono>

namespace app {

namespace {

std::function<std::uint32_t()>& ClockOverride() {
    static std::function<std::uint32_t()> clock;
    return clock;
}

}  // namespace

std::uint32_t GetTickCount() {
    if (ClockOverride()) return ClockOverride()();
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count());
}

void OverrideTickCount(std::function<std::uint32_t()> clock) { ClockOverride() = std::move(clock); }

}  // namespace app
