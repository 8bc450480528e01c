#pragma once

#include <cstdint>
#include <functional>

namespace app {

// Milliseconds since the system started, wrapping like a 32-bit counter.
std::uint32_t GetTickCount();

// Replaces the clock (tests step it by hand); an empty function restores it.
void OverrideTickCount(std::function<std::uint32_t()> clock);

}  // namespace app
