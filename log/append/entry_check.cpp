#include "log/append/entry_check.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

#include "content/question_names.h"
#include "engine/theme_table.h"
#include "log/answers_line.h"
#include "log/cp1251.h"
#include "log/csv_line.h"
#include "log/log_entry.h"

namespace appendhelper {

namespace {

// The registration window's limits, in characters (one byte each here).
constexpr std::size_t kFullNameLimit = 100;
constexpr std::size_t kPlatoonLimit = 20;

constexpr std::size_t kStartFields = 10;
constexpr std::size_t kEndFixedFields = 13;
constexpr std::size_t kFieldsPerQuestion = 4;

// Splits CR LF lines; nullopt when a line ends otherwise.
std::optional<std::vector<std::string_view>> CrLfLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find(resultslog::kLineEnd);
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view line = bytes.substr(0, end);
        if (line.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
        lines.push_back(line);
        bytes.remove_prefix(end + resultslog::kLineEnd.size());
    }
    return lines;
}

std::string CheckHeaderLine(std::string_view line, std::size_t limit, std::string_view what) {
    const std::string text = resultslog::Cp1251ToUtf8(line);
    if (line.empty() || line.find_first_not_of(' ') == std::string_view::npos) return std::string(what) + " is empty";
    if (line.size() > limit) return std::string(what) + " is longer than " + std::to_string(limit) + " characters";
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || byte == 0x98) return std::string(what) + " holds a control character";
    }
    if (resultslog::StartsAsTestResult(text)) return std::string(what) + " reads as a result line";
    return {};
}

std::string CheckResult(std::string_view line, std::string_view empty) {
    const auto result = resultslog::ParseTestResult(resultslog::Cp1251ToUtf8(line));
    if (!result || resultslog::TestResultBytes(*result) != std::string(line) + "\r\n\r\n")
        return "the result line is not as the test program writes it";
    if (result->questionsToAsk != 8 && result->questionsToAsk != 10) return "no test asks that many questions";
    if (result->rightCount > result->questionsToAsk) return "more right answers than questions";
    if (!empty.empty()) return "the result line is not followed by an empty line";
    return {};
}

std::optional<long> Number(std::string_view field, long low, long high) {
    long value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc{} || end != field.data() + field.size() || value < low || value > high) return std::nullopt;
    return value;
}

// 2026-12-08T09:15:02+03:00
bool IsLocalTime(std::string_view field) {
    constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:dd+dd:dd";
    if (field.size() != kShape.size()) return false;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char c = field[i];
        const bool ok = kShape[i] == 'd'   ? (c >= '0' && c <= '9')
                        : kShape[i] == '+' ? (c == '+' || c == '-')
                                           : c == kShape[i];
        if (!ok) return false;
    }
    return true;
}

bool IsHex(std::string_view field, std::size_t digits) {
    return field.size() == digits && std::all_of(field.begin(), field.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

bool IsPrintable(std::string_view field, std::size_t limit) {
    const auto text = resultslog::DecodeUtf8(field);
    if (!text || text->size() > limit) return false;
    return std::none_of(text->begin(), text->end(), [](char32_t c) { return c < 0x20 || c == 0x7F; });
}

std::string CheckQuestions(const std::vector<std::string_view>& fields, int theme) {
    for (std::size_t at = kEndFixedFields; at < fields.size(); at += kFieldsPerQuestion) {
        const auto id = content::ParseWindowClassName(fields[at]);
        if (!id || id->theme != theme) return "'" + std::string(fields[at]) + "' is no question of the theme";
        if (!fields[at + 1].empty() && !Number(fields[at + 1], 1, 4)) return "a chosen position is not 1 to 4";
        if (fields[at + 2] != "0" && fields[at + 2] != "1") return "a question is neither right (1) nor wrong (0)";
        if (!Number(fields[at + 3], 0, 24 * 3600)) return "a question's seconds are not a number of seconds";
    }
    return {};
}

}  // namespace

std::string CheckLogEntry(std::string_view bytes) {
    const auto lines = CrLfLines(bytes);
    if (!lines) return "not whole lines ending in CR LF";
    switch (lines->size()) {
        case 2:
            if (resultslog::StartsAsTestResult(resultslog::Cp1251ToUtf8((*lines)[0])))
                return CheckResult((*lines)[0], (*lines)[1]);
            [[fallthrough]];
        case 4: {
            std::string reason = CheckHeaderLine((*lines)[0], kFullNameLimit, "the full name");
            if (reason.empty()) reason = CheckHeaderLine((*lines)[1], kPlatoonLimit, "the platoon");
            if (reason.empty() && lines->size() == 4) reason = CheckResult((*lines)[2], (*lines)[3]);
            return reason;
        }
        default: return "not one entry: a header, a result, or both";
    }
}

std::string CheckAnswersLine(std::string_view bytes) {
    if (!bytes.ends_with('\n') || bytes.find('\n') != bytes.size() - 1) return "not one line ending in LF";
    std::vector<std::string_view> f;
    std::string scratch;
    if (!resultslog::SplitCsvLine(bytes.substr(0, bytes.size() - 1), f, scratch)) return "not a CSV line";
    if (f.size() < kStartFields || f[0] != resultslog::kAnswersFormat) return "not a line of the answers record";
    const bool start = f[1] == "start";
    if (!start && f[1] != "end") return "no such event";
    if (start ? f.size() != kStartFields
              : f.size() < kEndFixedFields || (f.size() - kEndFixedFields) % kFieldsPerQuestion != 0)
        return "wrong number of fields";
    if (!IsLocalTime(f[2])) return "the time is not a local ISO 8601 time";
    if (!IsPrintable(f[3], 255) || !IsPrintable(f[4], 32)) return "bad computer name or version";
    if (!IsHex(f[5], 8) || !IsHex(f[6], 16)) return "bad bank fingerprint or attempt id";
    if (!IsPrintable(f[7], kFullNameLimit) || !IsPrintable(f[8], kPlatoonLimit)) return "bad full name or platoon";
    const auto theme = Number(f[9], 1, engine::kThemeCount);
    if (!theme) return "no such theme";
    if (start) return {};
    const std::int32_t asked = engine::Theme(static_cast<int>(*theme)).QuestionsToAsk;
    if (f[10] != "finished" && f[10] != "stopped" && f[10] != "program-end") return "no such ending";
    const auto right = Number(f[11], 0, asked);
    if (!right || f[12] != std::to_string(asked)) return "the counts do not fit the theme";
    const std::size_t shown = (f.size() - kEndFixedFields) / kFieldsPerQuestion;
    if (shown > static_cast<std::size_t>(asked)) return "more questions than the test asks";
    return CheckQuestions(f, static_cast<int>(*theme));
}

std::string WithAccount(std::string_view line, std::string_view account) {
    std::string out(line.substr(0, line.size() - 1));
    out += ',';
    out += resultslog::CsvField(account);
    out += '\n';
    return out;
}

}  // namespace appendhelper
