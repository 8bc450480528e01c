#pragma once

#include <cstdint>

namespace engine {

// Share of right answers as a truncated whole percentage.
std::int32_t PercentRight(std::int32_t rightCount, std::int32_t questionOrdinal);

// The grade on the five-point scale (5, 4, 3 or 2) for a whole percentage.
std::int32_t GradePoints(std::int32_t percent);

// The grade text (UTF-8) for a whole percentage, on the five-point scale.
const char* GradeFor(std::int32_t percent);

}  // namespace engine
