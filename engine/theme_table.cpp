#include "engine/theme_table.h"

#include <stdexcept>

namespace engine {
namespace {

constexpr std::array<ThemeRow, kThemeCount> kThemes{{
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

// The walk needs as many distinct questions as a test asks, and AskedList
// has 20 slots.
constexpr bool RowsAreWalkable() {
    for (const ThemeRow& row : kThemes) {
        if (row.QuestionsToAsk < 1 || row.QuestionsToAsk > row.BankSize || row.BankSize > 20) return false;
    }
    return true;
}
static_assert(RowsAreWalkable());

}  // namespace

const ThemeRow& Theme(int theme) {
    if (theme < 1 || theme > kThemeCount) throw std::out_of_range("no such theme");
    return kThemes[static_cast<std::size_t>(theme - 1)];
}

}  // namespace engine
