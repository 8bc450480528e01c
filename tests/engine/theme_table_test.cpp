#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "engine/theme_table.h"

namespace {

// The catalogue as the theme choice window offers it. Every other test reads
// engine::Theme; this one holds the table itself to the written values.
TEST(ThemeTable, HoldsTheThirteenThemesTitlesBankSizesAndQuestionsAsked) {
    struct Row {
        const char* title;
        int bankSize;
        int asked;
    };
    const Row catalogue[] = {
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
    };
    ASSERT_EQ(engine::kThemeCount, 13);
    for (int theme = 1; theme <= 13; ++theme) {
        const Row& row = catalogue[theme - 1];
        const engine::ThemeRow& actual = engine::Theme(theme);
        EXPECT_EQ(std::string(actual.title), row.title) << "theme " << theme;
        EXPECT_EQ(actual.BankSize, row.bankSize) << "theme " << theme;
        EXPECT_EQ(actual.QuestionsToAsk, row.asked) << "theme " << theme;
    }
    EXPECT_EQ(engine::kQuestionCount, 203);
    EXPECT_THROW(engine::Theme(0), std::out_of_range);
    EXPECT_THROW(engine::Theme(14), std::out_of_range);
}

}  // namespace
