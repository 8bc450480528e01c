#include "tools/bank/giveaway_check.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/cp1251.h"

namespace banktool {
namespace {

using Options = std::array<std::string, 4>;

// Words that may stand before the number of a numeric option, in either case
// that the spelling rule gives them.
constexpr std::array<std::string_view, 10> kNumberPrefixes{"до",    "До",    "не",    "Не",    "менее",
                                                           "более", "около", "Около", "свыше", "Свыше"};

struct Unit {
    std::string_view name;
    double scale;
};
// Units mixed within one list, brought to one scale so that order holds.
constexpr std::array<Unit, 5> kUnits{{{"с", 1}, {"мин", 60}, {"ч", 3600}, {"м", 1}, {"км", 1000}}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "1,5" at the start of the text, or nothing.
std::optional<double> ReadNumber(std::string_view& text) {
    if (text.empty() || !IsDigit(text.front())) return std::nullopt;
    std::string digits;
    while (!text.empty() && (IsDigit(text.front()) || (text.front() == ',' && text.size() > 1 && IsDigit(text[1])))) {
        digits += text.front() == ',' ? '.' : text.front();
        text.remove_prefix(1);
    }
    return std::stod(digits);
}

// The value of an option that is a number or a range ("до 1 с", "10-15 мин",
// "300 м"): its first number in the unit that follows; nothing for a text.
std::optional<double> NumericValue(std::string_view option) {
    while (option.starts_with(' ')) option.remove_prefix(1);
    while (!option.empty() && !IsDigit(option.front())) {
        const std::size_t space = option.find(' ');
        const std::string_view word = option.substr(0, space);
        if (space == std::string_view::npos ||
            std::find(kNumberPrefixes.begin(), kNumberPrefixes.end(), word) == kNumberPrefixes.end()) {
            return std::nullopt;
        }
        option.remove_prefix(space + 1);
    }
    const std::optional<double> value = ReadNumber(option);
    if (!value) return std::nullopt;
    if (option.starts_with('-')) {
        option.remove_prefix(1);
        ReadNumber(option);  // the upper end of a range
    }
    if (!option.starts_with(' ')) return value;
    option.remove_prefix(1);
    const std::string_view unitName = option.substr(0, option.find(' '));
    for (const Unit& unit : kUnits) {
        if (unit.name == unitName) return *value * unit.scale;
    }
    return value;
}

bool StrictlyMonotonic(const std::vector<double>& values) {
    bool rising = true;
    bool falling = true;
    for (std::size_t i = 1; i < values.size(); ++i) {
        rising = rising && values[i - 1] < values[i];
        falling = falling && values[i - 1] > values[i];
    }
    return rising || falling;
}

bool OnlyRightBreaksOrder(const Options& options, int right) {
    std::vector<double> all;
    std::vector<double> wrong;
    for (int position = 1; position <= 4; ++position) {
        const auto value = NumericValue(options[static_cast<std::size_t>(position - 1)]);
        if (!value) return false;
        all.push_back(*value);
        if (position != right) wrong.push_back(*value);
    }
    return StrictlyMonotonic(wrong) && !StrictlyMonotonic(all);
}

bool HasWordOnly(const std::string& option) {
    auto text = resultslog::DecodeUtf8(option);
    if (!text) return false;
    for (char32_t& c : *text) {
        if (c >= U'А' && c <= U'Я') c += U'а' - U'А';
    }
    constexpr std::u32string_view kOnly = U"только";
    for (std::size_t at = text->find(kOnly); at != std::u32string::npos; at = text->find(kOnly, at + 1)) {
        const std::size_t end = at + kOnly.size();
        const bool startsWord = at == 0 || (*text)[at - 1] == U' ';
        const bool endsWord = end == text->size() || (*text)[end] == U' ' || (*text)[end] == U',';
        if (startsWord && endsWord) return true;
    }
    return false;
}

bool OnlyRightLacksOnly(const Options& options, int right) {
    for (int position = 1; position <= 4; ++position) {
        if (HasWordOnly(options[static_cast<std::size_t>(position - 1)]) == (position == right)) return false;
    }
    return true;
}

std::size_t Length(std::string_view text) {
    while (text.starts_with(' ')) text.remove_prefix(1);
    while (text.ends_with(' ')) text.remove_suffix(1);
    const auto codePoints = resultslog::DecodeUtf8(text);
    return codePoints ? codePoints->size() : text.size();
}

// 1.6 times, in whole numbers: 5 × right ≥ 8 × longest wrong.
bool RightFarLonger(const Options& options, int right) {
    std::size_t longestWrong = 0;
    for (int position = 1; position <= 4; ++position) {
        if (position != right)
            longestWrong = std::max(longestWrong, Length(options[static_cast<std::size_t>(position - 1)]));
    }
    return 5 * Length(options[static_cast<std::size_t>(right - 1)]) >= 8 * longestWrong;
}

}  // namespace

void CheckGiveaways(const BankRecord& record, Diagnostics& diagnostics) {
    if (record.right < 1 || record.right > 4) return;  // reported elsewhere
    const std::string where = "[" + record.name + "] ";
    const int rightLine = record.LineOf(OptionKey(record.right));
    if (OnlyRightBreaksOrder(record.options, record.right)) {
        diagnostics.Add(record.file, rightLine,
                        where +
                            "the wrong options stand in order and only the right one breaks it; "
                            "order all four or mix the wrong ones");
    }
    if (OnlyRightLacksOnly(record.options, record.right)) {
        diagnostics.Add(record.file, rightLine,
                        where + "«только» stands in every wrong option and not in the right one");
    }
    const Field* reason = record.source.Find(kLongRightKey);
    if (RightFarLonger(record.options, record.right)) {
        if (reason == nullptr) {
            diagnostics.Add(record.file, rightLine,
                            where +
                                "the right option is at least 1.6 times as long as the longest wrong one; "
                                "shorten it, lengthen the others, or say why in a 'длинный верный:' line");
        } else if (reason->value.find_first_not_of(' ') == std::string::npos) {
            diagnostics.Add(record.file, reason->line, where + "'длинный верный:' must say why the length is needed");
        }
    } else if (reason != nullptr) {
        diagnostics.Add(record.file, reason->line,
                        where + "the right option is not 1.6 times as long as the others: drop 'длинный верный:'");
    }
}

}  // namespace banktool
