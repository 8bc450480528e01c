#include "viewer/core/analysis/item_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "tests/viewer/answers_lines.h"
#include "viewer/core/analysis/item_statistics.h"
#include "viewer/core/analysis/item_table.h"

namespace {

using answerstest::EndLine;
using answerstest::Shown;
using viewer::AnswersReader;
using viewer::Scoring;

std::string Name(int i) { return "Студент " + std::to_string(i); }
std::string Question(int n) { return "Tq1" + std::to_string(n); }

// Five students' scores on three questions, each student twice (under
// another name) so that the indices are shown: duplicating the rows
// leaves correlations and alpha as they are.
//         Tq11 Tq12 Tq13  total
//    1     1    1    1     3
//    2     1    1    0     2
//    3     1    0    1     2
//    4     0    1    0     1
//    5     0    0    0     0
TEST(ItemAnalysis, SmallMatrixByHand) {
    const int scores[5][3] = {{1, 1, 1}, {1, 1, 0}, {1, 0, 1}, {0, 1, 0}, {0, 0, 0}};
    std::string lines;
    for (int copy = 0; copy < 2; ++copy) {
        for (int s = 0; s < 5; ++s) {
            std::vector<Shown> shown;
            for (int q = 0; q < 3; ++q) {
                const bool right = scores[s][q] == 1;
                shown.push_back({Question(q + 1), right ? 1 : 2, right, 10 * (s + 1)});
            }
            lines += EndLine(Name(copy * 5 + s), "2026-12-08T09:00:00+03:00", shown, "finished", "3fa85f64", 1);
        }
    }
    AnswersReader reader;
    reader.Feed(lines);
    const auto analysis = viewer::AnalyzeItems({&reader}, Scoring::FirstAttempt, {});
    ASSERT_EQ(analysis.themes.size(), 1u);
    const auto& theme = analysis.themes[0];
    EXPECT_EQ(theme.attempts, 10);
    EXPECT_DOUBLE_EQ(theme.meanScore, 1.6);
    EXPECT_NEAR(*theme.scoreDeviation, 1.074968, 1e-6);  // sqrt(10.4 / 9)

    ASSERT_EQ(theme.questions.size(), 3u);
    const auto& first = theme.questions[0];
    EXPECT_EQ(first.name, "Tq11");
    EXPECT_EQ(first.attempts, 10);
    EXPECT_DOUBLE_EQ(*first.facility, 0.6);
    EXPECT_NEAR(*first.discrimination, 0.645497, 1e-6);  // 1 / sqrt(2.4)
    EXPECT_EQ(first.key, 1);
    EXPECT_EQ(first.chosen, (std::array<std::int32_t, 5>{0, 6, 4, 0, 0}));
    EXPECT_DOUBLE_EQ(*first.medianSeconds, 30);
    EXPECT_EQ(first.flags, std::vector<std::string>{"оценки приблизительны: меньше 30 попыток"});
    EXPECT_NEAR(*theme.questions[1].discrimination, 0.0, 1e-12);
    // Ten attempts leave the interval wide: no verdict on discrimination.
    EXPECT_EQ(theme.questions[1].flags, (std::vector<std::string>{"оценки приблизительны: меньше 30 попыток"}));
    EXPECT_NEAR(*theme.questions[2].discrimination, 0.327327, 1e-6);  // 0.6 / sqrt(3.36)

    ASSERT_EQ(theme.forms.size(), 1u);
    EXPECT_EQ(theme.forms[0].questions, (std::vector<std::string>{"Tq11", "Tq12", "Tq13"}));
    EXPECT_NEAR(theme.forms[0].alpha->value, 6.0 / 13, 1e-12);  // 3/2 · (1 − 0.72 / 1.04)
    // Q = 4.5 / 1.04³ · (1.04 · (0.2304 + 0.72²) − 2 · 0.72 · 0.3808) = 0.921712; sqrt(Q / 10)
    EXPECT_NEAR(theme.forms[0].alpha->standardError, 0.303597, 1e-6);
}

// The first finished attempt by the clock, whichever computer wrote it;
// stopped tests are never scored; banks are never pooled.
TEST(ItemAnalysis, FirstFinishedAttemptAndBanksApart) {
    const std::vector<Shown> allWrong = {{"Tq11", 2, false}, {"Tq12", 2, false}};
    const std::vector<Shown> allRight = {{"Tq11", 1, true}, {"Tq12", 3, true}};
    AnswersReader first;
    first.Feed(EndLine("Иванов Иван", "2026-12-08T09:30:00+03:00", allWrong, "finished", "3fa85f64", 1) +
               EndLine("Петров Петр", "2026-12-08T09:30:00+03:00", allRight, "finished", "00000001", 1));
    AnswersReader second;
    second.Feed(EndLine("Иванов  Иван", "2026-12-08T08:00:00+04:00", {{"Tq11", 1, true}}, "stopped", "3fa85f64", 1) +
                EndLine("Иванов  Иван", "2026-12-08T09:45:00+04:00", allRight, "finished", "3fa85f64", 1));
    const viewer::BankLookup bank = [](std::uint32_t fingerprint,
                                       const std::string& name) -> std::optional<viewer::BankQuestion> {
        if (fingerprint != 0x3fa85f64u) return std::nullopt;
        return viewer::BankQuestion{"Текст " + name, {"а", "б", "в", "г"}, 1, {}};
    };

    const auto firstOnly = viewer::AnalyzeItems({&first, &second}, Scoring::FirstAttempt, bank);
    ASSERT_EQ(firstOnly.themes.size(), 2u);
    EXPECT_EQ(firstOnly.themes[0].bank, 0x3fa85f64u);
    EXPECT_EQ(firstOnly.themes[0].attempts, 1);
    EXPECT_EQ(firstOnly.themes[0].unfinished, 1);
    EXPECT_DOUBLE_EQ(firstOnly.themes[0].meanScore, 2);
    ASSERT_EQ(firstOnly.themes[0].questions.size(), 2u);
    EXPECT_EQ(firstOnly.themes[0].questions[1].wording->text, "Текст Tq12");
    EXPECT_EQ(firstOnly.themes[0].questions[1].key, 1);  // the bank's, over the record's 3
    EXPECT_EQ(firstOnly.themes[1].bank, 1u);
    EXPECT_EQ(firstOnly.themes[1].attempts, 1);
    EXPECT_FALSE(firstOnly.themes[1].questions[0].wording);
    EXPECT_EQ(firstOnly.themes[1].questions[1].key, 3);  // seen in a right answer

    const auto all = viewer::AnalyzeItems({&first, &second}, Scoring::AllAttempts, bank);
    EXPECT_EQ(all.themes[0].attempts, 2);
    EXPECT_DOUBLE_EQ(all.themes[0].meanScore, 1);
}

double Uniform(std::mt19937& generator) { return generator() / 4294967296.0; }

// Students of spread ability answer ten questions of known behaviour: seven
// ordinary ones of rising difficulty, one very easy, one answered by a coin
// toss whatever the ability, one that the strong miss more often.
TEST(ItemAnalysis, SimulatedQuestionsComeOutAsMade) {
    std::mt19937 generator(20261208);
    const int kStudents = 400;
    std::vector<std::vector<std::uint8_t>> matrix;
    std::string lines;
    for (int s = 0; s < kStudents; ++s) {
        const double ability = 4 * Uniform(generator) - 2;
        std::vector<Shown> shown;
        std::vector<std::uint8_t> row;
        for (int q = 1; q <= 10; ++q) {
            double p = 1 / (1 + std::exp(-1.7 * (ability - (q - 4) / 3.0)));
            if (q == 8) p = 1 / (1 + std::exp(-1.7 * (ability + 4)));
            if (q == 9) p = 0.5;
            if (q == 10) p = 1 / (1 + std::exp(2.5 * ability));
            const bool right = Uniform(generator) < p;
            // Nobody ever picks option 4 of the first question.
            const int wrong = 2 + static_cast<int>(Uniform(generator) * (q == 1 ? 2 : 3));
            shown.push_back({Question(q), right ? 1 : wrong, right, 20});
            row.push_back(right ? 1 : 0);
        }
        matrix.push_back(row);
        lines += EndLine(Name(s), "2026-12-08T09:00:00+03:00", shown, "finished", "3fa85f64", 1);
    }
    AnswersReader reader;
    reader.Feed(lines);
    const auto analysis = viewer::AnalyzeItems({&reader}, Scoring::FirstAttempt, {});
    const auto& questions = analysis.themes.at(0).questions;
    ASSERT_EQ(questions.size(), 10u);
    auto byName = [&](int q) { return questions[static_cast<std::size_t>(q - 1)]; };  // bank order: Tq11 … Tq110

    for (int q = 1; q <= 7; ++q) {
        EXPECT_GT(*byName(q).discrimination, 0.3) << q;
    }
    EXPECT_EQ(byName(1).flags, std::vector<std::string>{"вариант 4 никто не выбирает"});
    EXPECT_TRUE(byName(2).flags.empty());
    EXPECT_GT(*byName(8).facility, 0.9);
    EXPECT_EQ(byName(8).flags.at(0), "слишком легкий");
    EXPECT_LT(std::abs(*byName(9).discrimination), 0.1);
    EXPECT_EQ(byName(9).flags, std::vector<std::string>{"не различает сильных и слабых"});
    EXPECT_LT(*byName(10).discrimination, -0.2);
    ASSERT_EQ(byName(10).flags.size(), 1u);
    EXPECT_TRUE(byName(10).flags[0].starts_with("различает наоборот: сильные выбирают вариант "))
        << byName(10).flags[0];

    // Alpha by the textbook formula, with variances over n − 1.
    auto variance = [&](const std::vector<double>& values) {
        double mean = 0;
        for (const double value : values) mean += value / static_cast<double>(values.size());
        double squares = 0;
        for (const double value : values) squares += (value - mean) * (value - mean);
        return squares / static_cast<double>(values.size() - 1);
    };
    double itemVariances = 0;
    for (std::size_t q = 0; q < 10; ++q) {
        std::vector<double> item;
        for (const auto& row : matrix) item.push_back(row[q]);
        itemVariances += variance(item);
    }
    std::vector<double> totals;
    for (const auto& row : matrix) totals.push_back(std::accumulate(row.begin(), row.end(), 0.0));
    const double textbook = 10.0 / 9 * (1 - itemVariances / variance(totals));
    ASSERT_EQ(analysis.themes[0].forms.size(), 1u);
    EXPECT_NEAR(analysis.themes[0].forms[0].alpha->value, textbook, 1e-9);
}

// Forty students; the question under test is answered right by the first
// `right` of them, the three others by the first thirty, so that it goes
// with the rest score and only its facility can flag it. «слишком легкий»
// is above 0.9 and «слишком трудный» below 0.2, the bounds themselves not.
TEST(ItemAnalysis, FacilityFlagsStopAtTheirBounds) {
    const struct {
        int right;
        const char* flag;  // empty: neither
    } cases[] = {{37, "слишком легкий"}, {36, ""}, {8, ""}, {7, "слишком трудный"}};
    for (const auto& question : cases) {
        std::string lines;
        for (int s = 0; s < 40; ++s) {
            std::vector<Shown> shown;
            for (int q = 1; q <= 4; ++q) {
                const bool right = s < (q == 1 ? question.right : 30);
                shown.push_back({Question(q), right ? 1 : 2 + s % 3, right, s + 1});
            }
            lines += EndLine(Name(s), "2026-12-08T09:00:00+03:00", shown, "finished", "3fa85f64", 1);
        }
        AnswersReader reader;
        reader.Feed(lines);
        const auto analysis = viewer::AnalyzeItems({&reader}, Scoring::FirstAttempt, {});
        const auto& flags = analysis.themes.at(0).questions.at(0).flags;
        for (const std::string flag : {"слишком легкий", "слишком трудный"}) {
            const bool given = std::find(flags.begin(), flags.end(), flag) != flags.end();
            EXPECT_EQ(given, flag == question.flag) << question.right << " of 40: " << flag;
        }
    }
}

// An even count's median is the mean of the two middle values, in any order.
TEST(ItemStatistics, MedianOfEvenAndOddCounts) {
    const struct {
        std::vector<std::int32_t> values;
        double median;
    } cases[] = {{{29, 20, 25, 24, 21, 28, 22, 27, 23, 26}, 24.5},
                 {{40, 10}, 25},
                 {{7}, 7},
                 {{3, 1, 2}, 2},
                 {{5, 5, 9, 1}, 5},
                 {{100, 1, 2, 3}, 2.5}};
    for (const auto& each : cases) {
        EXPECT_DOUBLE_EQ(viewer::Median(each.values).value(), each.median) << each.values.size() << " values";
    }
    EXPECT_FALSE(viewer::Median({}));
}

}  // namespace
