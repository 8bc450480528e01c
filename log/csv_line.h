#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace resultslog {

// The field as CSV writes it: enclosed in double quotes, inner quotes
// doubled, when it holds a comma, a quote or a line break; else as it is.
std::string CsvField(std::string_view text);

// The fields of one CSV line (without its line end); nullopt when a quoted
// field is not closed or a quote stands inside an unquoted field.
std::optional<std::vector<std::string>> SplitCsvLine(std::string_view line);

}  // namespace resultslog
