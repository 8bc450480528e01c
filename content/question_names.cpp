#include "content/question_names.h"

#include <cctype>

#include "engine/theme_table.h"

namespace content {

using engine::QuestionId;

namespace {

// Themes 11 to 13 write the number with two digits, so that Tq111 (theme 1,
// number 11) and Tq1101 (theme 11, number 1) never meet.
std::string ClassDigits(QuestionId id) {
    std::string number = std::to_string(id.number);
    if (id.theme >= 11 && number.size() < 2) number.insert(0, "0");
    return std::to_string(id.theme) + number;
}

bool IsQuestionOfBank(QuestionId id) {
    return id.theme >= 1 && id.theme <= engine::kThemeCount && id.number >= 1 &&
           id.number <= engine::Theme(id.theme).BankSize;
}

}  // namespace

std::string WindowClassName(QuestionId id) { return "Tq" + ClassDigits(id); }

std::string SourceUnitName(QuestionId id) {
    return "T" + std::to_string(id.theme) + "q" + std::to_string(id.number);
}

std::string InstanceName(QuestionId id) { return "q" + ClassDigits(id); }

std::string ContentResourceName(QuestionId id) { return "TQ" + ClassDigits(id); }

std::optional<QuestionId> ParseWindowClassName(std::string_view name) {
    if (name.size() < 4 || name.size() > 6 || name.substr(0, 2) != "Tq") return std::nullopt;
    const std::string_view digits = name.substr(2);
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    }
    // Try every split of the digits into theme and number; the naming rule
    // makes at most one of them a question whose name is exactly this one.
    for (std::size_t split = 1; split < digits.size(); ++split) {
        const QuestionId id{std::stoi(std::string(digits.substr(0, split))),
                            std::stoi(std::string(digits.substr(split)))};
        if (IsQuestionOfBank(id) && WindowClassName(id) == name) return id;
    }
    return std::nullopt;
}

std::string StarterClassName(int theme) { return "Tqt" + std::to_string(theme); }
std::string StarterUnitName(int theme) { return "Qstartt" + std::to_string(theme); }
std::string StarterInstanceName(int theme) { return "qt" + std::to_string(theme); }

}  // namespace content
