#pragma once

#include <vector>

#include "tools/bank/bank_file.h"
#include "tools/bank/bank_record.h"
#include "tools/bank/diagnostics.h"

namespace banktool {

// Reads the records of the theme files and checks every rule of the bank:
// headings, names, order and counts, right options, texts, options,
// pictures' boxes, layout values, repeated texts, the records whose
// content is fixed, give-aways within a question and a theme, and the right
// values' place across the bank's numeric questions.
// The records come back in theme and number order.
std::vector<BankRecord> CheckBank(const std::vector<BankFile>& files, Diagnostics& diagnostics);

}  // namespace banktool
