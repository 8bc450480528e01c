#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "content/question_bank.h"
#include "content/question_names.h"
#include "engine/theme_table.h"
#include "log/cp1251.h"
#include "tools/bank/bank_rules.h"

namespace {

using content::AllQuestions;
using content::Question;
using content::QuestionRecord;
using engine::QuestionId;

const QuestionRecord& Named(const char* name) { return Question(*content::ParseWindowClassName(name)); }

std::vector<std::string> OptionsOf(const QuestionRecord& record) {
    return {record.options.begin(), record.options.end()};
}

// The answer key lives in tools/bank/bank_rules.cpp alone; the build holds
// the theme files to it, and this holds the compiled bank to it.
TEST(QuestionBank, RightOptionsFollowTheAnswerKeyOfEveryTheme) {
    std::array<int, 5> total{};
    for (int theme = 1; theme <= engine::kThemeCount; ++theme) {
        const std::vector<int> key = banktool::RightPositions(theme);
        ASSERT_EQ(static_cast<int>(key.size()), engine::Theme(theme).BankSize) << "theme " << theme;
        for (int number = 1; number <= engine::Theme(theme).BankSize; ++number) {
            const int right = Question({theme, number}).right;
            EXPECT_EQ(right, key[static_cast<std::size_t>(number - 1)]) << "theme " << theme << ", question " << number;
            ++total[static_cast<std::size_t>(right)];
        }
    }
    // The key's own totals, a check on the table as typed.
    EXPECT_EQ(total, (std::array<int, 5>{0, 40, 64, 62, 37}));
}

// The bank sizes come from the theme table, which its own test holds to
// the written catalogue.
TEST(QuestionBank, HoldsEachThemesQuestionsInOrderAndNoMore) {
    const auto all = AllQuestions();
    ASSERT_EQ(static_cast<int>(all.size()), engine::kQuestionCount);
    std::size_t index = 0;
    for (int theme = 1; theme <= engine::kThemeCount; ++theme) {
        const int bankSize = engine::Theme(theme).BankSize;
        for (int number = 1; number <= bankSize; ++number, ++index) {
            const QuestionId id{theme, number};
            EXPECT_EQ(all[index].id, id);
            EXPECT_EQ(&Question(id), &all[index]);
        }
        EXPECT_THROW(Question({theme, bankSize + 1}), std::out_of_range) << "theme " << theme;
        EXPECT_THROW(Question({theme, 0}), std::out_of_range);
    }
    EXPECT_THROW(Question({0, 1}), std::out_of_range);
    EXPECT_THROW(Question({14, 1}), std::out_of_range);
}

TEST(QuestionBank, FixedRecordsReadExactlyAsGiven) {
    const QuestionRecord& tq101 = Named("Tq101");
    EXPECT_EQ(tq101.text, "В мотострелковый полк входят:");
    EXPECT_EQ(OptionsOf(tq101), (std::vector<std::string>{"1 мсб", "2 мсб", "3 мсб", "4 мсб"}));
    EXPECT_EQ(tq101.right, 3);
    EXPECT_EQ(tq101.picture, nullptr);
    EXPECT_EQ(
        (std::array{tq101.layout.labelLeft, tq101.layout.labelTop, tq101.layout.labelWidth, tq101.layout.optionsLeft}),
        (std::array{256, 0, 285, 272}));

    const QuestionRecord& tq1312 = Named("Tq1312");
    EXPECT_EQ(tq1312.text, "Дистанция между ротами и батареями в районе" + std::string(12, ' ') +
                               "расположения полка составляет до:");
    EXPECT_EQ(OptionsOf(tq1312), (std::vector<std::string>{"300 м", "500 м", "700 м", "1 км"}));
    EXPECT_EQ(tq1312.right, 2);
    EXPECT_EQ(tq1312.picture, nullptr);
    EXPECT_EQ((std::array{tq1312.layout.labelLeft, tq1312.layout.labelTop, tq1312.layout.labelWidth,
                          tq1312.layout.optionsLeft}),
              (std::array{189, 0, 422, 176}));

    const QuestionRecord& tq516 = Named("Tq516");
    EXPECT_EQ(tq516.text, "Что обозначается на картах условным знаком");
    EXPECT_EQ(OptionsOf(tq516), (std::vector<std::string>{"КП полка", "КНП батальона", "КНП роты", "НП взвода"}));
    EXPECT_EQ(tq516.right, 2);
    ASSERT_NE(tq516.picture, nullptr);
    const app::Rect& box = tq516.picture->box;
    EXPECT_EQ((std::array{box.left, box.top, box.width, box.height}), (std::array{387, 56, 26, 57}));
    EXPECT_EQ(
        (std::array{tq516.layout.labelLeft, tq516.layout.labelTop, tq516.layout.labelWidth, tq516.layout.optionsLeft}),
        (std::array{196, 0, 403, 272}));
}

TEST(QuestionBank, OnlyTheMapSignQuestionsShareATextAndTheirAnswersDiffer) {
    const std::string mapSign = "Что обозначается на картах условным знаком";
    std::map<std::string, std::vector<std::string>> namesByText;
    for (const QuestionRecord& record : AllQuestions()) {
        namesByText[std::string(record.text)].push_back(content::WindowClassName(record.id));
    }
    for (const auto& [text, names] : namesByText) {
        if (text == mapSign) {
            EXPECT_EQ(names, (std::vector<std::string>{"Tq515", "Tq516", "Tq517", "Tq519", "Tq520"}));
        } else {
            EXPECT_EQ(names.size(), 1u) << names.front() << " shares its text with " << names.back();
        }
    }

    const QuestionRecord& tq515 = Named("Tq515");
    const QuestionRecord& tq519 = Named("Tq519");
    EXPECT_EQ(OptionsOf(tq515), OptionsOf(tq519));
    EXPECT_EQ(tq515.right, 4);
    EXPECT_EQ(tq519.right, 3);

    const QuestionRecord& tq516 = Named("Tq516");
    const QuestionRecord& tq520 = Named("Tq520");
    auto sorted = [](std::vector<std::string> options) {
        std::sort(options.begin(), options.end());
        return options;
    };
    EXPECT_NE(OptionsOf(tq516), OptionsOf(tq520));
    EXPECT_EQ(sorted(OptionsOf(tq516)), sorted(OptionsOf(tq520)));
    EXPECT_EQ(tq516.right, 2);
    EXPECT_EQ(tq520.right, 2);
}

TEST(QuestionBank, EveryTextAndOptionCanBeWrittenInWindows1251) {
    auto expectEncodable = [](std::string_view text, const std::string& where) {
        // A character the code page lacks comes back as '?'.
        EXPECT_EQ(resultslog::Cp1251ToUtf8(resultslog::Utf8ToCp1251(text)), text) << where;
    };
    for (const QuestionRecord& record : AllQuestions()) {
        const std::string name = content::WindowClassName(record.id);
        expectEncodable(record.text, name + " text");
        std::set<std::string_view> distinct;
        for (std::string_view option : record.options) {
            expectEncodable(option, name + " option");
            EXPECT_FALSE(option.empty()) << name;
            distinct.insert(option);
        }
        EXPECT_EQ(distinct.size(), 4u) << name;
        EXPECT_GE(record.right, 1) << name;
        EXPECT_LE(record.right, 4) << name;
    }
}

}  // namespace
