#pragma once

#include <array>
#include <optional>
#include <string>

namespace banktool {

// The values of four options that name one quantity: numbers or ranges
// («до 1 с», «10–15 мин», «300 м»), or number words where the options
// differ in that word alone («управления и двух мсо»). A range counts by its
// middle; seconds and minutes, metres and kilometres by one scale.
// Nothing when any option is not such a value.
std::optional<std::array<double, 4>> NumericValues(const std::array<std::string, 4>& options);

// The unit written after each number («м», «км», «мин»; empty where none),
// where all four options are numbers or ranges; nothing otherwise.
std::optional<std::array<std::string, 4>> NumericUnits(const std::array<std::string, 4>& options);

}  // namespace banktool
