#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace resultslog {

enum class FieldProblem { None, Empty, TooLong, BadCharacter, ReadsAsLogLine };

// Whether a full name or a platoon, as typed (UTF-8), may stand as a line
// of the results log's header: not blank, at most `limit` characters, only
// characters the log's code page holds, and no text the log's reader would
// take for a line of its own (a result line, or the byte order mark that
// may open the file). The test program and the collecting service both
// check with this, so neither writes a header that forges a result.
FieldProblem CheckLogField(std::string_view utf8, std::size_t limit);

// Why a field was refused, in Russian, naming the field ("ФИО", "взвод").
std::string FieldProblemText(FieldProblem problem, bool fullName);

}  // namespace resultslog
