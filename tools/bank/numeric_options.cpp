#include "tools/bank/numeric_options.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "tools/bank/option_words.h"

namespace banktool {
namespace {

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

struct NumberWord {
    std::u32string_view word;
    int value;
};
// The cases the bank uses: «два», «двух», «двумя» …
constexpr std::array<NumberWord, 36> kNumberWords{{
    {U"один", 1},        {U"одна", 1},        {U"одного", 1},      {U"одной", 1},     {U"одним", 1},
    {U"два", 2},         {U"две", 2},         {U"двух", 2},        {U"двумя", 2},     {U"три", 3},
    {U"трех", 3},        {U"тремя", 3},       {U"четыре", 4},      {U"четырех", 4},   {U"четырьмя", 4},
    {U"пять", 5},        {U"пяти", 5},        {U"пятью", 5},       {U"шесть", 6},     {U"шести", 6},
    {U"шестью", 6},      {U"семь", 7},        {U"семи", 7},        {U"восемь", 8},    {U"восьми", 8},
    {U"девять", 9},      {U"девяти", 9},      {U"десять", 10},     {U"десяти", 10},   {U"двенадцать", 12},
    {U"двенадцати", 12}, {U"пятнадцать", 15}, {U"пятнадцати", 15}, {U"двадцать", 20}, {U"двадцати", 20},
    {U"сто", 100},
}};

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

// A range's upper bound follows a hyphen or, as the bank now writes it, a dash.
constexpr std::string_view kDash = "–";

struct DigitOption {
    double value = 0;       // a range by its middle, in the unit as written
    std::string_view unit;  // «м», «км», «мм» (of «100-мм»), «км/ч»; empty when none
};

// An option that is a number or a range followed by its unit; nothing for a
// text.
std::optional<DigitOption> ReadDigitOption(std::string_view option) {
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
    std::optional<double> value = ReadNumber(option);
    if (!value) return std::nullopt;
    for (std::string_view dash : {std::string_view("-"), kDash}) {
        if (!option.starts_with(dash)) continue;
        std::string_view rest = option.substr(dash.size());
        if (const auto upper = ReadNumber(rest)) {
            value = (*value + *upper) / 2;
            option = rest;
        }
    }
    if (option.starts_with(' ') || option.starts_with('-')) option.remove_prefix(1);
    return DigitOption{*value, option.substr(0, option.find(' '))};
}

// The value in one scale per quantity, so that «1 ч» comes after «30 мин».
std::optional<double> DigitValue(std::string_view option) {
    const auto read = ReadDigitOption(option);
    if (!read) return std::nullopt;
    for (const Unit& unit : kUnits) {
        if (unit.name == read->unit) return read->value * unit.scale;
    }
    return read->value;
}

std::optional<double> NumberWordValue(std::u32string_view word) {
    for (const NumberWord& number : kNumberWords) {
        if (number.word == word) return number.value;
    }
    return std::nullopt;
}

// Where the options' words differ in one place only and that word is a
// number word in each: the four numbers.
std::optional<std::array<double, 4>> NumberWordValues(const std::array<std::string, 4>& options) {
    std::array<std::vector<std::u32string>, 4> words;
    for (std::size_t i = 0; i < 4; ++i) words[i] = CyrillicWords(options[i]);
    std::optional<std::size_t> differing;
    for (std::size_t at = 0; at < words[0].size(); ++at) {
        for (std::size_t i = 1; i < 4; ++i) {
            if (words[i].size() != words[0].size()) return std::nullopt;
            if (words[i][at] != words[0][at]) {
                if (differing && *differing != at) return std::nullopt;
                differing = at;
            }
        }
    }
    if (!differing) return std::nullopt;
    std::array<double, 4> values{};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto value = NumberWordValue(words[i][*differing]);
        if (!value) return std::nullopt;
        values[i] = *value;
    }
    return values;
}

}  // namespace

std::optional<std::array<std::string, 4>> NumericUnits(const std::array<std::string, 4>& options) {
    std::array<std::string, 4> units;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto read = ReadDigitOption(options[i]);
        if (!read) return std::nullopt;
        units[i] = read->unit;
    }
    return units;
}

std::optional<std::array<double, 4>> NumericValues(const std::array<std::string, 4>& options) {
    std::array<double, 4> values{};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto value = DigitValue(options[i]);
        if (!value) return NumberWordValues(options);
        values[i] = *value;
    }
    return values;
}

}  // namespace banktool
