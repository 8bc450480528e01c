#include "viewer/core/summary.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "tests/log/log_test_support.h"
#include "viewer/core/export.h"

namespace {

using logtest::Cp1251;
using viewer::Counting;
using viewer::Summary;
using viewer::Tally;

// Two platoons; Иванов tries twice, Кузнецов's second attempt is abandoned,
// Смирнова's platoon has a trailing space, the theme-11 test has 8 questions.
const std::string kMixedLog = Cp1251(
    "Иванов Иван\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n"
    "Петров Петр\r\n101\r\n"
    "Сидоров Сидор\r\n102\r\nПравильных ответов 8 из 8\r\n\r\n"
    "Кузнецов Кирилл\r\n102\r\nПравильных ответов 3 из 10\r\n\r\n"
    "Иванов  Иван\r\n101\r\nПравильных ответов 9 из 10\r\n\r\n"
    "Смирнова Анна\r\n101 \r\nПравильных ответов 5 из 8\r\n\r\n"
    "Кузнецов Кирилл\r\n102\r\n");

struct ExpectedTally {
    std::int32_t students, finished, unfinished, fives, fours, threes, twos;
    const char* meanGrade;
    const char* meanPercent;
};

void ExpectTally(const Tally& tally, const ExpectedTally& expected) {
    EXPECT_EQ(tally.students, expected.students);
    EXPECT_EQ(tally.finished, expected.finished);
    EXPECT_EQ(tally.unfinished, expected.unfinished);
    EXPECT_EQ(tally.gradeCounts[5], expected.fives);
    EXPECT_EQ(tally.gradeCounts[4], expected.fours);
    EXPECT_EQ(tally.gradeCounts[3], expected.threes);
    EXPECT_EQ(tally.gradeCounts[2], expected.twos);
    EXPECT_EQ(viewer::SummaryCellText(tally, viewer::SummaryColumn::MeanGrade), expected.meanGrade);
    EXPECT_EQ(viewer::SummaryCellText(tally, viewer::SummaryColumn::MeanPercent), expected.meanPercent);
}

Summary SummaryOf(const std::string& bytes, Counting counting) {
    static viewer::LogReader reader;
    reader = viewer::LogReader();
    reader.Feed(bytes);
    std::vector<const viewer::Attempt*> attempts;
    for (const auto& attempt : reader.Attempts()) attempts.push_back(&attempt);
    return viewer::Summarize(attempts, counting);
}

TEST(Summary, AllAttemptsOfAMixedLog) {
    const Summary summary = SummaryOf(kMixedLog, Counting::AllAttempts);
    ASSERT_EQ(summary.platoons.size(), 2u);
    EXPECT_EQ(summary.platoons[0].platoon, "101");
    EXPECT_EQ(summary.platoons[1].platoon, "102");
    // 70 % → 4, 90 % → 5, 5 of 8 = 62 % → 3.
    ExpectTally(summary.platoons[0], {3, 3, 1, 1, 1, 1, 0, "4,00", "74,0"});
    // 100 % → 5, 30 % → 2.
    ExpectTally(summary.platoons[1], {2, 2, 1, 1, 0, 0, 1, "3,50", "65,0"});
    ExpectTally(summary.overall, {5, 5, 2, 2, 1, 1, 1, "3,80", "70,4"});
}

TEST(Summary, EachStudentsLastAttempt) {
    const Summary summary = SummaryOf(kMixedLog, Counting::LastAttempt);
    ExpectTally(summary.platoons[0], {3, 2, 1, 1, 0, 1, 0, "4,00", "76,0"});
    ExpectTally(summary.platoons[1], {2, 1, 1, 1, 0, 0, 0, "5,00", "100,0"});
    ExpectTally(summary.overall, {5, 3, 2, 2, 0, 1, 0, "4,33", "84,0"});
}

TEST(Summary, PlatoonsInNaturalOrderAndNoMeanWithoutResults) {
    const Summary summary =
        SummaryOf(Cp1251("А\r\nВУЦ-101\r\nБ\r\nВУЦ-21\r\nВ\r\n7\r\nГ\r\nВУЦ-021а\r\n"), Counting::AllAttempts);
    std::vector<std::string> platoons;
    for (const auto& tally : summary.platoons) platoons.push_back(tally.platoon);
    EXPECT_EQ(platoons, (std::vector<std::string>{"7", "ВУЦ-21", "ВУЦ-021а", "ВУЦ-101"}));
    ExpectTally(summary.overall, {4, 0, 4, 0, 0, 0, 0, "—", "—"});
    EXPECT_TRUE(SummaryOf("", Counting::LastAttempt).platoons.empty());
}

TEST(Summary, PlatoonsInRussianAlphabeticalOrderWhateverTheMachinesLocale) {
    // English rules would put the Latin letters first.
    const QLocale machine;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // Case does not part a platoon from its neighbours, Ё goes with Е, Latin
    // letters after Cyrillic ones, numbers by value.
    const Summary summary = SummaryOf(Cp1251("А\r\nMIL-1\r\nБ\r\nЖ-1\r\nВ\r\nЁлка-2\r\nГ\r\nЕ-3\r\n"
                                             "Д\r\nВзвод 10\r\nЕ\r\nвзвод 7\r\nЖ\r\nВУЦ-5\r\nЗ\r\nвуц-12\r\n"),
                                      Counting::AllAttempts);
    std::vector<std::string> platoons;
    for (const auto& tally : summary.platoons) platoons.push_back(tally.platoon);
    EXPECT_EQ(platoons,
              (std::vector<std::string>{"взвод 7", "Взвод 10", "ВУЦ-5", "вуц-12", "Е-3", "Ёлка-2", "Ж-1", "MIL-1"}));
    QLocale::setDefault(machine);
}

}  // namespace
