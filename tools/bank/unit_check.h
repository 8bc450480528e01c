#pragma once

#include "tools/bank/bank_record.h"
#include "tools/bank/diagnostics.h"

namespace banktool {

// Refuses a right value written in a unit no wrong value has («до 1 км»
// among «до 800 м», «до 600 м», «до 500 м»): it stands out before its size
// is weighed.
void CheckLoneUnit(const BankRecord& record, Diagnostics& diagnostics);

}  // namespace banktool
