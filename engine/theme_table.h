#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>

namespace engine {

struct ThemeRow {
    const char* title;  // UTF-8, as the theme choice window shows it
    std::int32_t BankSize;
    std::int32_t QuestionsToAsk;
};

inline constexpr int kThemeCount = 13;

// The one home of the themes' titles and sizes: the bank's theme files, its
// build tools and the compiled bank all take them from here.
inline constexpr std::array<ThemeRow, kThemeCount> kThemeTable{{
    {"Оружие вероятного противника и средства защиты от него", 16, 10},
    {"Современный общевойсковой бой. Структура ВС РФ", 20, 10},
    {"Организация, состав и назначение основных тактических подразделений СВ ВС РФ", 20, 10},
    {"мсо, мсв, мср в обороне", 19, 10},
    {"мсб в обороне", 20, 10},
    {"мсо, мсв, мср в наступлении", 13, 10},
    {"мсб в наступлении", 11, 10},
    {"Марш мсб", 18, 10},
    {"Организация общевойсковых подразделений армий США и ФРГ", 20, 10},
    {"Организационно-штатная структура мсп (тп)", 10, 10},
    {"Управление войсками", 8, 8},
    {"мсп (тп) в обороне и наступлении", 15, 10},
    {"Марш мсп (тп)", 13, 10},
}};

// Themes are numbered 1 … kThemeCount.
constexpr const ThemeRow& Theme(int theme) {
    if (theme < 1 || theme > kThemeCount) throw std::out_of_range("no such theme");
    return kThemeTable[static_cast<std::size_t>(theme - 1)];
}

// The questions of all the themes' banks together.
inline constexpr int kQuestionCount = [] {
    int count = 0;
    for (const ThemeRow& row : kThemeTable) count += row.BankSize;
    return count;
}();

// The walk needs as many distinct questions as a test asks, and AskedList
// has 20 slots.
static_assert([] {
    for (const ThemeRow& row : kThemeTable) {
        if (row.QuestionsToAsk < 1 || row.QuestionsToAsk > row.BankSize || row.BankSize > 20) return false;
    }
    return true;
}());

}  // namespace engine
