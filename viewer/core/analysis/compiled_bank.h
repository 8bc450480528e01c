#pragma once

#include <cstdint>

#include "viewer/core/analysis/item_analysis.h"

namespace viewer {

// The fingerprint of the question bank compiled into the programs: 32-bit
// FNV-1a over every question in bank order, of its window class name, its
// text, its four options and its right position (a digit), each followed
// by a zero byte. The test program writes the same into its answers record.
std::uint32_t CompiledBankFingerprint();

// The compiled bank's wording, for records of that bank only.
BankLookup CompiledBankLookup();

}  // namespace viewer
