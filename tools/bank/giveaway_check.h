#pragma once

#include "tools/bank/bank_record.h"
#include "tools/bank/diagnostics.h"

namespace banktool {

// Refuses the option lists whose right option can be found without the
// knowledge: numbers in order but for one (numeric_order_check.h); a right
// option set apart by its words (echo_check.h), at the centre of its set
// (centre_option_check.h) or alone in its unit (unit_check.h); «только» in every wrong
// option and not in the right one; a right option more than 1.3 times as
// long as the longest wrong one, unless the record says why.
void CheckGiveaways(const BankRecord& record, Diagnostics& diagnostics);

}  // namespace banktool
