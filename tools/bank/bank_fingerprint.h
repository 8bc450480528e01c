#pragma once

#include <cstdint>
#include <vector>

#include "tools/bank/bank_record.h"

namespace banktool {

// A fingerprint of what the bank asks: FNV-1a (32 bits) over every record in
// bank order, each giving its window class name (Tq1101), text, four options
// and right position in decimal, every one of them followed by a zero byte.
// The layout is left out: it changes how a question looks, not what it asks.
std::uint32_t BankFingerprint(const std::vector<BankRecord>& records);

}  // namespace banktool
