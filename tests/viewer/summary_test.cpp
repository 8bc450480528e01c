#include "viewer/core/analysis/summary.h"

#include <gtest/gtest.h>

#include <QLocale>

#include "tests/log/log_test_support.h"
#include "viewer/core/exports/export.h"

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
    std::int32_t students, studentsFinished, attempts, finished, unfinished, fives, fours, threes, twos;
    const char* meanGrade;
    const char* meanPercent;
};

void ExpectTally(const Tally& tally, const ExpectedTally& expected) {
    EXPECT_EQ(tally.students, expected.students);
    EXPECT_EQ(tally.studentsFinished, expected.studentsFinished);
    EXPECT_EQ(tally.Attempts(), expected.attempts);
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
    // 70 % → 4, 90 % → 5, 5 of 8 = 62,5 % → 3; the mean of 70, 90 and 62,5.
    ExpectTally(summary.platoons[0], {3, 2, 4, 3, 1, 1, 1, 1, 0, "4,00", "74,2"});
    // 100 % → 5, 30 % → 2.
    ExpectTally(summary.platoons[1], {2, 2, 3, 2, 1, 1, 0, 0, 1, "3,50", "65,0"});
    ExpectTally(summary.overall, {5, 4, 7, 5, 2, 2, 1, 1, 1, "3,80", "70,5"});
}

TEST(Summary, EachStudentsLastAttempt) {
    const Summary summary = SummaryOf(kMixedLog, Counting::LastAttempt);
    // The mean of 90 and 62,5 is 76,25: a half rounds up.
    ExpectTally(summary.platoons[0], {3, 2, 3, 2, 1, 1, 0, 1, 0, "4,00", "76,3"});
    ExpectTally(summary.platoons[1], {2, 1, 2, 1, 1, 1, 0, 0, 0, "5,00", "100,0"});
    ExpectTally(summary.overall, {5, 3, 5, 3, 2, 2, 0, 1, 0, "4,33", "84,2"});
}

// One student who retook the test: one person, two attempts, in columns of
// their own; 7 of 8 counts as 87,5 %, not the 87 % the table shows.
TEST(Summary, PeopleAndAttemptsApartAndMeansOfExactPercentages) {
    const Summary summary = SummaryOf(Cp1251("Орлов Олег\r\n105\r\nПравильных ответов 7 из 8\r\n\r\n"
                                             "Орлов Олег\r\n105\r\nПравильных ответов 7 из 8\r\n\r\n"),
                                      Counting::AllAttempts);
    ExpectTally(summary.overall, {1, 1, 2, 2, 0, 0, 2, 0, 0, "4,00", "87,5"});
    std::vector<std::string> titles;
    std::vector<std::string> cells;
    for (int c = 0; c < viewer::kSummaryColumnCount; ++c) {
        titles.emplace_back(viewer::SummaryColumnTitle(static_cast<viewer::SummaryColumn>(c)));
        cells.push_back(viewer::SummaryCellText(summary.overall, static_cast<viewer::SummaryColumn>(c)));
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Учебный взвод", "Студентов", "Из них завершили", "Попыток",
                                                "Попыток завершено", "Попыток не завершено", "Средняя оценка", "«5»",
                                                "«4»", "«3»", "«2»", "Средний %"}));
    EXPECT_EQ(cells, (std::vector<std::string>{"Всего", "1", "1", "2", "2", "0", "4,00", "0", "2", "0", "0", "87,5"}));
}

TEST(Summary, PlatoonsInNaturalOrderAndNoMeanWithoutResults) {
    const Summary summary =
        SummaryOf(Cp1251("А\r\nВУЦ-101\r\nБ\r\nВУЦ-21\r\nВ\r\n7\r\nГ\r\nВУЦ-021а\r\n"), Counting::AllAttempts);
    std::vector<std::string> platoons;
    for (const auto& tally : summary.platoons) platoons.push_back(tally.platoon);
    EXPECT_EQ(platoons, (std::vector<std::string>{"7", "ВУЦ-21", "ВУЦ-021а", "ВУЦ-101"}));
    ExpectTally(summary.overall, {4, 0, 4, 0, 4, 0, 0, 0, 0, "—", "—"});
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
