// The rules against a right option found by the shape of its set, a key the
// theme repeats, and the bank's typography, on small theme files.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/content/bank_test_records.h"
#include "tools/bank/centre_option_check.h"
#include "tools/bank/theme_leak_check.h"
#include "tools/bank/typography_check.h"
#include "tools/bank/unit_check.h"

namespace {

using banktest::Messages;
using banktest::Record;
using banktest::RunCheck;
using banktest::RunRecordCheck;
using banktest::WithLine;
using banktool::BankRecord;
using banktool::Diagnostics;

struct OptionsCase {
    std::array<std::string, 4> options;
    int right;
    bool refused;
};

std::string Describe(const OptionsCase& c) {
    return c.options[0] + " | " + c.options[1] + " | " + c.options[2] + " | " + c.options[3] + " → " +
           std::to_string(c.right);
}

// A right option the wrong ones are built around shares a word with each of
// them; a balanced set leaves every option two neighbours.
TEST(BankCueChecksTest, RefusesARightOptionAtTheCentreOfItsSet) {
    const std::vector<OptionsCase> cases{
        {{"Взвод материального обеспечения", "Рота материального обеспечения", "Батальон материального обеспечения",
          "Автомобильная рота"},
         2,
         true},
        {{"усиленного мсо", "усиленного мсв", "усиленной мср", "двух мсв"}, 2, true},  // abbreviations count
        {{"Взвод материального обеспечения", "Рота материального обеспечения", "Батальон материального обеспечения",
          "Автомобильная рота"},
         1,
         false},  // the centre is a wrong option: nothing points at the right one
        {{"Ремонтная рота", "Ремонтный батальон", "Автомобильная рота", "Автомобильный батальон"}, 1, false},
        {{"Ремонтная рота связи", "Ремонтный батальон", "Автомобильная рота", "Автомобильный батальон связи"},
         1,
         false},  // a grid with a word across it: the opposite corner is a centre too
        {{"зенитный ракетный взвод", "зенитный ракетный полк", "зенитный ракетный дивизион", "зенитная батарея"},
         3,
         false},  // words all four share tell nothing
        {{"до мсо", "до усиленного мсв", "до двух мсв", "до усиленной мср"}, 2, false},  // «до» is no feature
    };
    for (const OptionsCase& c : cases) {
        SCOPED_TRACE(Describe(c));
        const Messages messages =
            RunRecordCheck(Record("Tq31", "Что?", c.options, c.right), banktool::CheckCentreOption);
        const std::string expected = "t.txt:" + std::to_string(2 + c.right) +
                                     ": error: [Tq31] the right option alone shares a word with every other option: "
                                     "the wrong ones read as changes of it; balance the set, two features of two "
                                     "values each";
        EXPECT_EQ(messages, c.refused ? Messages{expected} : Messages{});
    }
}

TEST(BankCueChecksTest, RefusesARightValueAloneInItsUnit) {
    const std::vector<OptionsCase> cases{
        {{"до 1 км", "до 800 м", "до 600 м", "до 500 м"}, 1, true},
        {{"до 0,4 км", "до 0,6 км", "до 0,8 км", "до 1 км"}, 4, false},
        {{"300 м", "500 м", "700 м", "1 км"}, 2, false},  // a wrong value alone in its unit points nowhere
        {{"10 мин", "30 мин", "1 ч", "3 ч"}, 3, false},
        {{"1–2 мин", "до 1 с", "3–5 мин", "10–15 с"}, 4, false},
        {{"1–2 мин", "до 1 с", "3–5 мин", "10–15 с"}, 1, false},
        {{"30 с", "1–2 мин", "3–5 мин", "10–15 мин"}, 1, true},  // a range by a dash is read as well
        {{"100-мм пушка", "73-мм орудие", "30-мм пушка", "14,5-мм пулемет"}, 3, false},
        {{"управления и двух мсо", "управления и трех мсо", "управления и четырех мсо", "управления и пяти мсо"},
         2,
         false},  // number words have no unit to tell
    };
    for (const OptionsCase& c : cases) {
        SCOPED_TRACE(Describe(c));
        const Messages messages =
            RunRecordCheck(Record("Tq31", "Сколько?", c.options, c.right), banktool::CheckLoneUnit);
        EXPECT_EQ(messages.size(), c.refused ? 1u : 0u);
    }
    EXPECT_EQ(RunRecordCheck(Record("Tq31", "Сколько?", {"до 1 км", "до 800 м", "до 600 м", "до 500 м"}, 1),
                             banktool::CheckLoneUnit),
              Messages{"t.txt:3: error: [Tq31] the right value alone is written in «км»; write a wrong value in its "
                       "unit too, or all four in one"});
}

Messages ThemeCuesIn(const std::string& text) {
    return RunCheck(text, [](const std::vector<BankRecord>& records, Diagnostics& diagnostics) {
        banktool::CheckThemeLeaks(records, diagnostics);
    });
}

const std::string kRegularityAdvice =
    ", and never a wrong option alone in the theme: a student learns to pick it; offer it as a wrong option in "
    "one of them, or say in a 'не подсказка:' line why it gives nothing away";

// «рота» right in three questions of the theme and never wrong alone.
TEST(BankCueChecksTest, RefusesAWordTheThemeKeepsInItsRightOptions) {
    const std::string repair =
        Record("Tq31", "Что?", {"Ремонтная рота", "Ремонтный взвод", "Медицинская рота", "Медицинский взвод"}, 1);
    const std::string scouts = Record(
        "Tq32", "Что?", {"Разведывательный взвод", "Разведывательная рота", "Инженерная рота", "Инженерный взвод"}, 2);
    const std::string supply =
        Record("Tq33", "Что?",
               {"Взвод связи", "Рота связи", "Рота материального обеспечения", "Взвод материального обеспечения"}, 3);
    EXPECT_EQ(ThemeCuesIn(repair + scouts + supply),
              (Messages{"t.txt:3: error: [Tq31] the word «рота» is in the right option here and in [Tq32], [Tq33]" +
                            kRegularityAdvice,
                        "t.txt:12: error: [Tq32] the word «рота» is in the right option here and in [Tq31], [Tq33]" +
                            kRegularityAdvice,
                        "t.txt:21: error: [Tq33] the word «рота» is in the right option here and in [Tq31], [Tq32]" +
                            kRegularityAdvice}));
    const std::string battery =
        Record("Tq34", "Что?", {"Минометная батарея", "Минометная рота", "Гаубичная батарея", "Гаубичная рота"}, 1);
    EXPECT_EQ(ThemeCuesIn(repair + scouts + supply + battery), Messages{}) << "wrong alone in Tq34";
    EXPECT_EQ(ThemeCuesIn(repair + scouts), Messages{}) << "two questions make no rule";
    // A waived question counts for none, and its line is not stale.
    EXPECT_EQ(ThemeCuesIn(WithLine(repair, "не подсказка: роты здесь все, спрошен их род") + scouts + supply),
              Messages{});
}

TEST(BankCueChecksTest, RefusesAValueTheThemeAlwaysKeys) {
    const std::array<std::string, 4> counts{"1", "2", "3", "4"};
    const std::string three = Record("Tq31", "Сколько?", counts, 3) + Record("Tq32", "Сколько?", counts, 3) +
                              Record("Tq33", "Сколько?", counts, 3);
    const Messages messages = ThemeCuesIn(three);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0],
              "t.txt:5: error: [Tq31] «3» is in the right option here and in [Tq32], [Tq33]" + kRegularityAdvice);
    EXPECT_EQ(ThemeCuesIn(three + Record("Tq34", "Сколько?", counts, 4)), Messages{}) << "3 is wrong in Tq34";
}

TEST(BankCueChecksTest, RefusesStraightQuotesAndHyphenatedRanges) {
    struct Case {
        std::string option;
        std::string expected;  // after "t.txt:3: error: [Tq31] option 1 "; empty: accepted
    };
    const std::vector<Case> cases{
        {"ПТРК \"Конкурс\"", "has a straight quote: write «…»"},
        {"ПТРК «Конкурс»", ""},
        {"10-15 мин", "joins a range of numbers by a hyphen: write a dash, «10–15»"},
        {"до 1-1,5 км", "joins a range of numbers by a hyphen: write a dash, «10–15»"},
        {"привал (1-2 ч)", "joins a range of numbers by a hyphen: write a dash, «10–15»"},
        {"10–15 мин", ""},
        {"ЗСУ-23-4 «Шилка»", ""},  // a designation's parts
        {"100-мм пушка", ""},
        {"Т-72", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        const Messages messages =
            RunRecordCheck(Record("Tq31", "Что?", {c.option, "б", "в", "г"}, 2), banktool::CheckTypography);
        EXPECT_EQ(messages,
                  c.expected.empty() ? Messages{} : Messages{"t.txt:3: error: [Tq31] option 1 " + c.expected});
    }
    EXPECT_EQ(
        RunRecordCheck(Record("Tq31", "Какой калибр у \"Сани\"?", {"а", "б", "в", "г"}, 1), banktool::CheckTypography),
        Messages{"t.txt:2: error: [Tq31] the question text has a straight quote: write «…»"});
    // The fixed records keep their texts.
    EXPECT_EQ(
        RunRecordCheck(Record("Tq1312", "Дистанция 1-2 км?", {"\"а\"", "б", "в", "г"}, 1), banktool::CheckTypography),
        Messages{});
}

}  // namespace
