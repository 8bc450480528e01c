#pragma once

#include "tools/bank/bank_record.h"
#include "tools/bank/diagnostics.h"

namespace banktool {

// The bank's typography: names stand in «…», not in straight quotes, and a
// range of numbers takes a dash («10–15 мин»), not a hyphen. A hyphen that
// joins a designation's parts («ЗСУ-23-4», «100-мм») stays. The fixed
// records keep their texts as they are.
void CheckTypography(const BankRecord& record, Diagnostics& diagnostics);

}  // namespace banktool
