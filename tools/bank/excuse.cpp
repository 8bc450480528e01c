#include "tools/bank/excuse.h"

#include <string>

#include "tools/bank/bank_file.h"

namespace banktool {

bool Excused(const BankRecord& record, std::string_view key, bool flagged, Diagnostics& diagnostics) {
    const Field* reason = record.source.Find(key);
    if (reason == nullptr) return false;
    const std::string where = "[" + record.name + "] '" + std::string(key) + ":' ";
    if (!flagged) {
        diagnostics.Add(record.file, reason->line, where + "waives a rule this record keeps: drop the line");
    } else if (reason->value.find_first_not_of(' ') == std::string::npos) {
        diagnostics.Add(record.file, reason->line, where + "must say why");
    }
    return true;
}

}  // namespace banktool
