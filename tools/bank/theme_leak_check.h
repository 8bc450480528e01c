#pragma once

#include <vector>

#include "tools/bank/bank_record.h"
#include "tools/bank/diagnostics.h"

namespace banktool {

// Refuses a right option whose distinctive word (one its wrong options lack)
// stands in the text of another question of the same theme: a student who
// has read that question finds the answer there. Refuses as well a key
// the theme repeats (key_regularity.h). A 'не подсказка:' line that says
// why waives both for its record.
void CheckThemeLeaks(const std::vector<BankRecord>& records, Diagnostics& diagnostics);

}  // namespace banktool
