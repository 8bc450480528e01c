#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace resultslog {

// The field as CSV writes it: enclosed in double quotes, inner quotes
// doubled, when it holds a comma, a quote or a line break; else as it is.
std::string CsvField(std::string_view text);

// Splits one line of RFC 4180 CSV (without its line end) into its fields.
// The fields view the line or, for quoted ones, the scratch string, which
// must outlive them. False for a line that is no such CSV: an unclosed
// quote, or a quote within an unquoted field or after a closing one.
bool SplitCsvLine(std::string_view line, std::vector<std::string_view>& fields, std::string& scratch);

}  // namespace resultslog
