#pragma once

#include <string>
#include <vector>

#include "tools/bank/bank_record.h"

namespace banktool {

// A key a theme repeats: the same option text, or the same word, is the
// right option (or in it) in three or more questions of the theme and never
// a wrong option alone, so a student learns to pick it («рота» in every
// «Какое подразделение мсп…?»). Questions that say why in a 'не подсказка:'
// line do not count. The findings for `record`, each naming the others.
std::vector<std::string> KeyRegularities(const BankRecord& record, const std::vector<BankRecord>& records);

}  // namespace banktool
