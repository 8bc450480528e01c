#pragma once

#include "tools/bank/bank_record.h"
#include "tools/bank/diagnostics.h"

namespace banktool {

// Refuses a right option that stands out by its wording: it alone repeats
// a content word of the question, it alone has a bracket, or it alone is
// a longer list than every wrong option.
void CheckWordingEchoes(const BankRecord& record, Diagnostics& diagnostics);

}  // namespace banktool
