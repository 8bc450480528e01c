#pragma once

#include <string>
#include <string_view>

namespace appendhelper {

// What the helper accepts, one entry per call, exactly as the test program
// writes it; anything else could forge or garble other students' results.
// Each check gives the reason for refusing, or an empty string.

// An entry of "Results.txt" (Windows-1251, CR LF): a student's header (full
// name and platoon lines), a test's result (result line and empty line), or
// both, header first.
std::string CheckLogEntry(std::string_view bytes);

// One line of the answers record (UTF-8 CSV, ending in LF), a `start` or an
// `end` event of the present format, without an account field.
std::string CheckAnswersLine(std::string_view bytes);

// The line with the caller's account added as its last field.
std::string WithAccount(std::string_view line, std::string_view account);

}  // namespace appendhelper
