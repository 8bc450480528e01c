#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/bank/bank_file.h"
#include "tools/bank/bank_text.h"
#include "tools/layout/bank_rewrite.h"
#include "tools/layout/layout_rules.h"

namespace {

using layouttool::ComputeLayout;

std::size_t CodePoints(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

// Every character 10 pixels wide; a radio button needs 30 more than its text at 8 a character.
const layouttool::Measure kFixedPitch{
    [](std::string_view text) { return 10.0 * static_cast<double>(CodePoints(text)); },
    [](std::string_view text) { return 30 + 8 * static_cast<int>(CodePoints(text)); },
};

banktool::BankRecord Record(std::string text, std::array<std::string, 4> options = {"а", "б", "в", "г"}) {
    banktool::BankRecord record;
    record.name = "Tq12";
    record.theme = 1;
    record.number = 2;
    record.text = std::move(text);
    record.options = std::move(options);
    return record;
}

std::string Words(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += (i ? " " : "") + std::string("абвг");
    return text;
}

TEST(BankLayout, PlacesTextsOnBalancedCentredLinesAndIsIdempotent) {
    std::string problem;
    const auto oneLine = ComputeLayout(Record("Короткий вопрос?"), kFixedPitch, problem);
    ASSERT_TRUE(oneLine) << problem;
    EXPECT_EQ(oneLine->text, "Короткий вопрос?");
    EXPECT_EQ(oneLine->label.width, 162);
    EXPECT_EQ(oneLine->label.left, 319);
    EXPECT_EQ(oneLine->label.top, 8);  // theme 1 from its second question on

    // 99 characters, 990 pixels: two lines of ten words, 490 pixels each.
    const auto twoLines = ComputeLayout(Record(Words(20)), kFixedPitch, problem);
    ASSERT_TRUE(twoLines) << problem;
    EXPECT_EQ(twoLines->lineCount, 2);
    EXPECT_EQ(twoLines->label.width, 492);
    EXPECT_EQ(twoLines->label.left, 154);
    EXPECT_EQ(twoLines->text, Words(10) + std::string(5, ' ') + Words(10));

    // A short first line needs a long run to fill it: 20 pixels, then 69 spaces up to the width of 702.
    std::string uneven = "аб ";
    for (int i = 0; i < 70; ++i) uneven += "я";
    const auto filled = ComputeLayout(Record(uneven), kFixedPitch, problem);
    ASSERT_TRUE(filled) << problem;
    const auto lines = banktool::LinesAtBreakRuns(filled->text);
    ASSERT_EQ(lines.size(), 2u);
    const std::size_t run = banktool::LineBreakRuns(filled->text).front().length;
    EXPECT_EQ(filled->label.width, 702);
    EXPECT_EQ(run, 69u);
    EXPECT_GE(10 * (CodePoints(lines[0]) + run), static_cast<std::size_t>(filled->label.width));
    EXPECT_LT(10 * (CodePoints(lines[0]) + run - 1), static_cast<std::size_t>(filled->label.width));

    // Laying out a laid-out text, or one with stray runs, changes nothing.
    for (const std::string& text : {twoLines->text, Words(4) + std::string(30, ' ') + Words(16)}) {
        const auto again = ComputeLayout(Record(text), kFixedPitch, problem);
        ASSERT_TRUE(again) << problem;
        EXPECT_EQ(again->text, twoLines->text);
    }

    // A one-letter word stays with the word after it, even at the cost of a few pixels.
    const auto preposition = ComputeLayout(Record(Words(10) + " в " + Words(11)), kFixedPitch, problem);
    ASSERT_TRUE(preposition) << problem;
    EXPECT_EQ(banktool::LinesAtBreakRuns(preposition->text), (std::vector<std::string>{Words(10), "в " + Words(11)}));

    const auto threeLines = ComputeLayout(Record(Words(40)), kFixedPitch, problem);
    ASSERT_TRUE(threeLines) << problem;
    EXPECT_EQ(threeLines->lineCount, 3);
    EXPECT_EQ(banktool::LineBreakRuns(threeLines->text).size(), 2u);
    EXPECT_LE(threeLines->label.width, 726);

    EXPECT_FALSE(ComputeLayout(Record(Words(80)), kFixedPitch, problem));
    EXPECT_NE(problem.find("three lines"), std::string::npos);
}

TEST(BankLayout, MovesOptionsLeftOnlyAsFarAsTheyNeed) {
    struct Case {
        int characters;  // of the longest option
        int left;
        int width;
    };
    for (const Case& c : {Case{1, 272, 209}, Case{60, 272, 510}, Case{70, 176, 590}, Case{75, 162, 630}}) {
        std::string problem;
        const auto layout = ComputeLayout(
            Record("Короткий вопрос?", {"а", std::string(static_cast<std::size_t>(c.characters), '.'), "в", "г"}),
            kFixedPitch, problem);
        ASSERT_TRUE(layout) << problem;
        EXPECT_EQ(layout->options.left, c.left) << c.characters;
        EXPECT_EQ(layout->options.widths[1], c.width) << c.characters;
        EXPECT_EQ(layout->options.widths[0], 209);
    }
    std::string problem;
    EXPECT_FALSE(
        ComputeLayout(Record("Короткий вопрос?", {"а", std::string(90, '.'), "в", "г"}), kFixedPitch, problem));
}

TEST(BankLayout, FixedRecordsKeepTheirTextAndLabel) {
    auto record = Record("Дистанция между ротами и батареями в районе" + std::string(12, ' ') +
                         "расположения полка составляет до:");
    record.name = "Tq1312";
    record.theme = 13;
    record.number = 12;
    std::string problem;
    const auto layout = ComputeLayout(record, kFixedPitch, problem);
    ASSERT_TRUE(layout) << problem;
    EXPECT_EQ(layout->text, record.text);
    EXPECT_EQ(banktool::FormatLabelLayout(layout->label), "189 0 422");
    EXPECT_EQ(layout->options.left, 176);
}

TEST(BankLayout, RewritesOnlyTheTextAndLayoutLines) {
    banktool::Diagnostics diagnostics;
    const banktool::BankFile file =
        banktool::ParseBankText("theme-01.txt", 1,
                                "# Тема 1\n\n"
                                "[Tq11]\nвопрос: Первый  вопрос\n1: а\n2: б\n3: в\n4: г\nверный: 2\n"
                                "окно: 550 | 152 216 279 343 | 502 111\n\n"
                                "[Tq12]\nвопрос: Второй\n1: а\n2: б\n3: в\n4: г\nверный: 4\n"
                                "надпись: 1 2 3\n# примечание\nварианты: 4 | 5 6 7 8\n",
                                diagnostics);
    ASSERT_TRUE(diagnostics.Empty());
    const auto lines = layouttool::RewriteLines(
        file, {{&file.records[1], "Второй вопрос", {300, 8, 200}, {272, {209, 209, 209, 209}}},
               {&file.records[0], "Первый  вопрос", {290, 0, 220}, {272, {209, 210, 211, 212}}}});
    EXPECT_EQ(banktool::JoinLines(lines),
              "# Тема 1\n\n"
              "[Tq11]\nвопрос: Первый  вопрос\n1: а\n2: б\n3: в\n4: г\nверный: 2\n"
              "окно: 550 | 152 216 279 343 | 502 111\n"
              "надпись: 290 0 220\nварианты: 272 | 209 210 211 212\n\n"
              "[Tq12]\nвопрос: Второй вопрос\n1: а\n2: б\n3: в\n4: г\nверный: 4\n"
              "надпись: 300 8 200\n# примечание\nварианты: 272 | 209 209 209 209\n");
}

}  // namespace
