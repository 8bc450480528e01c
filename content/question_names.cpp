#include "content/question_names.h"

#include <cctype>
#include <initializer_list>

#include "engine/theme_table.h"

namespace content {

using engine::QuestionId;

namespace {

// Names are built front to back by appending: GCC 12 takes a text put in
// front of a temporary string for an overlapping copy (-Wrestrict) once it
// inlines the insertion.
std::string Joined(std::initializer_list<std::string_view> parts) {
    std::string joined;
    for (std::string_view part : parts) joined += part;
    return joined;
}

// Themes 11 to 13 write the number with two digits, so that Tq111 (theme 1,
// number 11) and Tq1101 (theme 11, number 1) never meet.
std::string ClassDigits(QuestionId id) {
    const std::string number = std::to_string(id.number);
    return Joined({std::to_string(id.theme), id.theme >= 11 && number.size() < 2 ? "0" : "", number});
}

bool IsQuestionOfBank(QuestionId id) {
    return id.theme >= 1 && id.theme <= engine::kThemeCount && id.number >= 1 &&
           id.number <= engine::Theme(id.theme).BankSize;
}

}  // namespace

std::string WindowClassName(QuestionId id) { return Joined({"Tq", ClassDigits(id)}); }

std::string SourceUnitName(QuestionId id) {
    return Joined({"T", std::to_string(id.theme), "q", std::to_string(id.number)});
}

std::string InstanceName(QuestionId id) { return Joined({"q", ClassDigits(id)}); }

std::string ContentResourceName(QuestionId id) { return Joined({"TQ", ClassDigits(id)}); }

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

std::string StarterClassName(int theme) { return Joined({"Tqt", std::to_string(theme)}); }
std::string StarterUnitName(int theme) { return Joined({"Qstartt", std::to_string(theme)}); }
std::string StarterInstanceName(int theme) { return Joined({"qt", std::to_string(theme)}); }

}  // namespace content
