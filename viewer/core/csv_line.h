#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace viewer {

// Splits one line of RFC 4180 CSV (comma separated, double quotes around a
// field that holds a comma or a quote, inner quotes doubled) into its
// fields. The fields view the line or, for quoted ones, the scratch
// string, which must outlive them. False for a line that is no such CSV:
// an unclosed quote or text after a closing one.
bool SplitCsvLine(std::string_view line, std::vector<std::string_view>& fields, std::string& scratch);

}  // namespace viewer
