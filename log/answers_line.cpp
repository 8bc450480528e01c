#include "log/answers_line.h"

#include <ctime>

#include "log/csv_line.h"

namespace resultslog {

namespace {

std::string Hex(std::uint64_t value, int digits) {
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = "0123456789abcdef"[value & 15];
    return text;
}

void AddField(std::string& line, std::string_view text) {
    line += ',';
    line += CsvField(text);
}

std::string CommonFields(const AttemptFields& fields, std::string_view event, std::string_view time,
                         std::string_view format = facts::kAnswersFormat) {
    std::string line(format);
    AddField(line, event);
    AddField(line, time);
    AddField(line, fields.computer);
    AddField(line, fields.version);
    AddField(line, Hex(fields.bank, 8));
    AddField(line, Hex(fields.attempt, 16));
    AddField(line, fields.name);
    AddField(line, fields.platoon);
    AddField(line, std::to_string(fields.theme));
    return line;
}

void AddEnd(std::string& line, Ending ending, std::int32_t right, std::int32_t asked,
            std::span<const ShownQuestion> shown) {
    AddField(line, EndingName(ending));
    AddField(line, std::to_string(right));
    AddField(line, std::to_string(asked));
    for (const ShownQuestion& question : shown) {
        AddField(line, question.question);
        AddField(line, question.chosen > 0 ? std::to_string(question.chosen) : std::string());
        AddField(line, question.correct ? "1" : "0");
        AddField(line, std::to_string(question.seconds));
    }
    line += '\n';
}

}  // namespace

std::string_view EndingName(Ending ending) {
    switch (ending) {
        case Ending::Finished: return "finished";
        case Ending::Stopped: return "stopped";
        case Ending::ProgramEnd: return "program-end";
        case Ending::Abandoned: return "abandoned";
    }
    return {};
}

std::string LocalTimeText(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    char text[40];
    // %z gives +0300; ISO 8601's extended form wants +03:00.
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    if (length < 2) return {};
    std::string result(text, length - 2);
    result += ':';
    result.append(text + length - 2, 2);
    return result;
}

std::string StartLine(const AttemptFields& fields, std::string_view time) {
    std::string line = CommonFields(fields, "start", time);
    line += '\n';
    return line;
}

std::string EndLine(const AttemptFields& fields, std::string_view time, Ending ending, std::int32_t right,
                    std::int32_t asked, std::span<const ShownQuestion> shown) {
    std::string line = CommonFields(fields, "end", time);
    AddEnd(line, ending, right, asked, shown);
    return line;
}

std::string CollectedStartLine(const AttemptFields& fields, std::string_view time, std::string_view account) {
    std::string line = CommonFields(fields, "start", time, facts::kCollectedAnswersFormat);
    AddField(line, account);
    line += '\n';
    return line;
}

std::string CollectedEndLine(const AttemptFields& fields, std::string_view time, std::string_view account,
                             Ending ending, std::int32_t right, std::int32_t asked,
                             std::span<const ShownQuestion> shown) {
    std::string line = CommonFields(fields, "end", time, facts::kCollectedAnswersFormat);
    AddField(line, account);
    AddEnd(line, ending, right, asked, shown);
    return line;
}

}  // namespace resultslog
