#include "collector/protocol.h"

#include <charconv>

#include "engine/theme_table.h"

namespace collector {

namespace {

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) return fields;
        line.remove_prefix(tab + 1);
    }
}

bool SmallNumber(std::string_view text, int low, int high, int& value) {
    if (text.empty() || text.size() > 2) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() && value >= low && value <= high;
}

Parsed Refuse(std::string reason) { return {Resume{}, std::move(reason)}; }

}  // namespace

Parsed ParseMessage(std::string_view line) {
    if (line.find_first_of("\r\n") != std::string_view::npos) return Refuse("a line break inside the message");
    const std::vector<std::string_view> f = Fields(line);
    const std::string_view verb = f[0];
    const auto count = [&](std::size_t wanted) { return f.size() == wanted; };
    if (verb == "register") {
        if (!count(3)) return Refuse("register takes a full name and a platoon");
        return {Register{std::string(f[1]), std::string(f[2])}, {}};
    }
    if (verb == "theme") {
        int theme = 0;
        if (!count(2) || !SmallNumber(f[1], 1, engine::kThemeCount, theme)) return Refuse("no such theme");
        return {ThemeChosen{theme}, {}};
    }
    if (verb == "answer") {
        int chosen = 0;
        if (!count(3) || f[1].size() > 16 || !SmallNumber(f[2], 0, 4, chosen))
            return Refuse("answer takes a question and a position 0 to 4");
        return {AnswerGiven{std::string(f[1]), chosen}, {}};
    }
    if (verb == "end") {
        if (count(2) && f[1] == "finished") return {End{resultslog::Ending::Finished}, {}};
        if (count(2) && f[1] == "stopped") return {End{resultslog::Ending::Stopped}, {}};
        if (count(2) && f[1] == "program-end") return {End{resultslog::Ending::ProgramEnd}, {}};
        return Refuse("end takes finished, stopped or program-end");
    }
    if (verb == "resume") {
        std::uint64_t attempt = 0;
        if (!count(2) || !ParseAttemptId(f[1], attempt)) return Refuse("resume takes an attempt id");
        return {Resume{attempt}, {}};
    }
    return Refuse("unknown message");
}

std::string RegisterLine(std::string_view fullName, std::string_view platoon) {
    std::string line = "register\t";
    line += fullName;
    line += '\t';
    line += platoon;
    line += '\n';
    return line;
}

std::string ThemeLine(int theme) { return "theme\t" + std::to_string(theme) + "\n"; }

std::string AnswerLine(std::string_view question, int chosen) {
    return "answer\t" + std::string(question) + "\t" + std::to_string(chosen) + "\n";
}

std::string EndLine(resultslog::Ending ending) { return "end\t" + std::string(resultslog::EndingName(ending)) + "\n"; }

std::string ResumeLine(std::uint64_t attempt) { return "resume\t" + AttemptIdText(attempt) + "\n"; }

std::string OkReply() { return "ok\n"; }

std::string OkAttemptReply(std::uint64_t attempt) { return "ok\t" + AttemptIdText(attempt) + "\n"; }

std::string OkCountsReply(std::int32_t right, std::int32_t asked) {
    return "ok\t" + std::to_string(right) + "\t" + std::to_string(asked) + "\n";
}

std::string RefusedReply(std::string_view reason) { return "refused\t" + std::string(reason) + "\n"; }

std::string AttemptIdText(std::uint64_t attempt) {
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, attempt >>= 4) text[static_cast<std::size_t>(i)] = "0123456789abcdef"[attempt & 15];
    return text;
}

bool ParseAttemptId(std::string_view text, std::uint64_t& attempt) {
    if (text.size() != 16) return false;
    attempt = 0;
    for (const char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            return false;
        }
        attempt = (attempt << 4) | static_cast<std::uint64_t>(digit);
    }
    return true;
}

}  // namespace collector
