#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

// What every benchmark here measures with: a steady clock, and the median
// of repeated runs, which a busy machine's stray slow run does not move.
namespace bench {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace bench
