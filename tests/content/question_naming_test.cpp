#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "content/question_names.h"
#include "engine/theme_table.h"

namespace {

using engine::QuestionId;

// Every window class of the bank, a theme a row, in number order.
// clang-format off
const std::vector<std::vector<std::string>> kAllClassNames{
    {"Tq11", "Tq12", "Tq13", "Tq14", "Tq15", "Tq16", "Tq17", "Tq18", "Tq19", "Tq110", "Tq111", "Tq112", "Tq113", "Tq114", "Tq115", "Tq116"},
    {"Tq21", "Tq22", "Tq23", "Tq24", "Tq25", "Tq26", "Tq27", "Tq28", "Tq29", "Tq210", "Tq211", "Tq212", "Tq213", "Tq214", "Tq215", "Tq216", "Tq217", "Tq218", "Tq219", "Tq220"},
    {"Tq31", "Tq32", "Tq33", "Tq34", "Tq35", "Tq36", "Tq37", "Tq38", "Tq39", "Tq310", "Tq311", "Tq312", "Tq313", "Tq314", "Tq315", "Tq316", "Tq317", "Tq318", "Tq319", "Tq320"},
    {"Tq41", "Tq42", "Tq43", "Tq44", "Tq45", "Tq46", "Tq47", "Tq48", "Tq49", "Tq410", "Tq411", "Tq412", "Tq413", "Tq414", "Tq415", "Tq416", "Tq417", "Tq418", "Tq419"},
    {"Tq51", "Tq52", "Tq53", "Tq54", "Tq55", "Tq56", "Tq57", "Tq58", "Tq59", "Tq510", "Tq511", "Tq512", "Tq513", "Tq514", "Tq515", "Tq516", "Tq517", "Tq518", "Tq519", "Tq520"},
    {"Tq61", "Tq62", "Tq63", "Tq64", "Tq65", "Tq66", "Tq67", "Tq68", "Tq69", "Tq610", "Tq611", "Tq612", "Tq613"},
    {"Tq71", "Tq72", "Tq73", "Tq74", "Tq75", "Tq76", "Tq77", "Tq78", "Tq79", "Tq710", "Tq711"},
    {"Tq81", "Tq82", "Tq83", "Tq84", "Tq85", "Tq86", "Tq87", "Tq88", "Tq89", "Tq810", "Tq811", "Tq812", "Tq813", "Tq814", "Tq815", "Tq816", "Tq817", "Tq818"},
    {"Tq91", "Tq92", "Tq93", "Tq94", "Tq95", "Tq96", "Tq97", "Tq98", "Tq99", "Tq910", "Tq911", "Tq912", "Tq913", "Tq914", "Tq915", "Tq916", "Tq917", "Tq918", "Tq919", "Tq920"},
    {"Tq101", "Tq102", "Tq103", "Tq104", "Tq105", "Tq106", "Tq107", "Tq108", "Tq109", "Tq1010"},
    {"Tq1101", "Tq1102", "Tq1103", "Tq1104", "Tq1105", "Tq1106", "Tq1107", "Tq1108"},
    {"Tq1201", "Tq1202", "Tq1203", "Tq1204", "Tq1205", "Tq1206", "Tq1207", "Tq1208", "Tq1209", "Tq1210", "Tq1211", "Tq1212", "Tq1213", "Tq1214", "Tq1215"},
    {"Tq1301", "Tq1302", "Tq1303", "Tq1304", "Tq1305", "Tq1306", "Tq1307", "Tq1308", "Tq1309", "Tq1310", "Tq1311", "Tq1312", "Tq1313"},
};
// clang-format on

struct NamingCase {
    QuestionId id;
    const char* windowClass;
    const char* sourceUnit;
    const char* instance;
    const char* resource;
};

TEST(QuestionNaming, FollowsTheRuleOfTheExamples) {
    const NamingCase cases[] = {
        {{1, 1}, "Tq11", "T1q1", "q11", "TQ11"},           {{1, 11}, "Tq111", "T1q11", "q111", "TQ111"},
        {{10, 10}, "Tq1010", "T10q10", "q1010", "TQ1010"}, {{11, 1}, "Tq1101", "T11q1", "q1101", "TQ1101"},
        {{13, 13}, "Tq1313", "T13q13", "q1313", "TQ1313"}, {{1, 10}, "Tq110", "T1q10", "q110", "TQ110"},
        {{10, 1}, "Tq101", "T10q1", "q101", "TQ101"},      {{12, 15}, "Tq1215", "T12q15", "q1215", "TQ1215"},
    };
    for (const NamingCase& c : cases) {
        SCOPED_TRACE(c.windowClass);
        EXPECT_EQ(content::WindowClassName(c.id), c.windowClass);
        EXPECT_EQ(content::SourceUnitName(c.id), c.sourceUnit);
        EXPECT_EQ(content::InstanceName(c.id), c.instance);
        EXPECT_EQ(content::ContentResourceName(c.id), c.resource);
    }
}

TEST(QuestionNaming, EveryQuestionHasItsOwnNameThatReadsBack) {
    ASSERT_EQ(kAllClassNames.size(), static_cast<std::size_t>(engine::kThemeCount));
    std::set<std::string> seen;
    for (int theme = 1; theme <= engine::kThemeCount; ++theme) {
        const auto& names = kAllClassNames[static_cast<std::size_t>(theme - 1)];
        ASSERT_EQ(static_cast<int>(names.size()), engine::Theme(theme).BankSize) << "theme " << theme;
        for (int number = 1; number <= static_cast<int>(names.size()); ++number) {
            const std::string& name = names[static_cast<std::size_t>(number - 1)];
            EXPECT_EQ(content::WindowClassName({theme, number}), name);
            const auto parsed = content::ParseWindowClassName(name);
            ASSERT_TRUE(parsed.has_value()) << name;
            EXPECT_EQ(*parsed, (QuestionId{theme, number})) << name;
            EXPECT_TRUE(seen.insert(name).second) << name << " names two questions";
        }
    }
    EXPECT_EQ(seen.size(), 203u);
}

TEST(QuestionNaming, NamesOfNoQuestionReadAsNothing) {
    // Past the end of a theme, padded where the rule writes no padding,
    // unpadded where it pads, and not names at all.
    for (const char* name : {"Tq117", "Tq1109", "Tq1216", "Tq1314", "Tq1011", "Tq1100", "Tq10", "Tq012", "Tq0101",
                             "Tq1401", "Tq111 ", "TQ11", "Tq", "Tq1a", "Tq11011", "Tq-11"}) {
        EXPECT_FALSE(content::ParseWindowClassName(name).has_value()) << name;
    }
}

}  // namespace
