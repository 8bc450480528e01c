#pragma once

#include <vector>

#include "tools/bank/bank_record.h"
#include "tools/bank/diagnostics.h"

namespace banktool {

// Numeric options must stand fully in order of size or so mixed that no
// three stand in order: where one option breaks the order of the other
// three, a student picks it, or the middle ones, without the knowledge.
void CheckNumericOrder(const BankRecord& record, Diagnostics& diagnostics);

// Over the bank's numeric questions the right value must be the smallest
// or largest in 40–60 % of them, so that neither guess pays.
void CheckNumericKeyBalance(const std::vector<BankRecord>& records, Diagnostics& diagnostics);

}  // namespace banktool
