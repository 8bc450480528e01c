#include "log/log_entry.h"

#include <charconv>

#include "log/cp1251.h"

namespace resultslog {

namespace {

std::string LineBytes(std::string_view utf8) {
    std::string bytes = Utf8ToCp1251(utf8);
    for (char& c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = '?';
    }
    return bytes;
}

void AppendNumber(std::string& out, std::int32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<std::int32_t> TakeNumber(std::string_view& text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
    if (digits == 0 || digits > 9) return std::nullopt;
    std::int32_t value = 0;
    for (std::size_t i = 0; i < digits; ++i) value = value * 10 + (text[i] - '0');
    text.remove_prefix(digits);
    return value;
}

bool TakeWord(std::string_view& text, std::string_view word) {
    text = TrimSpaces(text);
    if (!text.starts_with(word)) return false;
    text.remove_prefix(word.size());
    return true;
}

}  // namespace

std::string StudentHeaderBytes(std::string_view fullName, std::string_view platoon) {
    std::string bytes = LineBytes(fullName);
    bytes += kLineEnd;
    bytes += LineBytes(platoon);
    bytes += kLineEnd;
    return bytes;
}

std::string LogFieldText(std::string_view utf8) { return Cp1251ToUtf8(LineBytes(utf8)); }

std::string TestResultBytes(TestResult result) {
    static const std::string rightAnswers = Utf8ToCp1251(kRightAnswersWords);
    static const std::string outOf = Utf8ToCp1251(kOutOfWord);
    std::string bytes = rightAnswers;
    bytes += ' ';
    AppendNumber(bytes, result.rightCount);
    bytes += ' ';
    bytes += outOf;
    bytes += ' ';
    AppendNumber(bytes, result.questionsToAsk);
    bytes += kLineEnd;
    bytes += kLineEnd;
    return bytes;
}

std::optional<TestResult> ParseTestResult(std::string_view line) {
    if (!TakeWord(line, kRightAnswersWords)) return std::nullopt;
    line = TrimSpaces(line);
    const auto right = TakeNumber(line);
    if (!right || !TakeWord(line, kOutOfWord)) return std::nullopt;
    line = TrimSpaces(line);
    const auto questions = TakeNumber(line);
    if (!questions || !line.empty()) return std::nullopt;
    return TestResult{*right, *questions};
}

bool StartsAsTestResult(std::string_view line) { return TrimSpaces(line).starts_with(kRightAnswersWords); }

}  // namespace resultslog
