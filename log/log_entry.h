#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace resultslog {

// An entry of the results log, as the test program writes it and the
// results viewer reads it: the full name and the platoon on a line each,
// then, once the test is finished, the result line and an empty line that
// ends the entry. Windows-1251, every line ending in CR LF:
//
//     Иванов Иван Иванович
//     101
//     Правильных ответов 7 из 10
//     (empty line)

inline constexpr std::string_view kLineEnd = "\r\n";
// The fixed words of the result line, as UTF-8: "<words> 7 <out of> 10".
inline constexpr std::string_view kRightAnswersWords = "Правильных ответов";
inline constexpr std::string_view kOutOfWord = "из";

struct TestResult {
    std::int32_t rightCount = 0;
    std::int32_t questionsToAsk = 0;
};

// The bytes of a header, from UTF-8 texts written as data. Control
// characters would split the line or the entry, so they become '?'.
std::string StudentHeaderBytes(std::string_view fullName, std::string_view platoon);
// A field's text as the header line writes it, back in UTF-8.
std::string LogFieldText(std::string_view utf8);
// The bytes of a result line and the empty line after it.
std::string TestResultBytes(TestResult result);

// A result line as UTF-8 text without its line end. Spaces and tabs around
// the words and numbers are tolerated, as an editor may leave them; the
// numbers are plain digits, at most nine.
std::optional<TestResult> ParseTestResult(std::string_view line);
// Whether a line begins with the result line's words, readable or not.
bool StartsAsTestResult(std::string_view line);

}  // namespace resultslog
