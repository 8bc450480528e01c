#pragma once

#include <string>
#include <vector>

#include "tools/bank/bank_record.h"

namespace banktool {

// C++ source of the bank's constant arrays (declared in
// content/bank/question_bank_data.h), from checked records in theme and
// number order.
std::string GenerateBankSource(const std::vector<BankRecord>& records);

// A C++ string literal of UTF-8 text.
std::string CppStringLiteral(std::string_view text);

}  // namespace banktool
