#pragma once

#include <string_view>

#include "tools/bank/bank_record.h"
#include "tools/bank/diagnostics.h"

namespace banktool {

// Some give-away rules can be waived for one record by a line that says
// why ("длинный верный: …", "не подсказка: …"), where a reader sees at once
// that the rule was weighed. True when the record carries the line for
// `key`: then the rule's own error is not to be reported. An empty reason,
// or the line on a record the rule does not flag, is reported here.
bool Excused(const BankRecord& record, std::string_view key, bool flagged, Diagnostics& diagnostics);

}  // namespace banktool
