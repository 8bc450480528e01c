#include <gtest/gtest.h>

#include <string>

#include "engine/grading.h"

namespace {

std::string GradeOf(std::int32_t right, std::int32_t asked) {
    return engine::GradeFor(engine::PercentRight(right, asked));
}

TEST(Grading, BandsOnTheTruncatedPercentage) {
    struct Row {
        std::int32_t right;
        std::int32_t asked;
        const char* grade;
    };
    const Row rows[] = {
        {10, 10, "5 (отлично)"}, {9, 10, "5 (отлично)"},           {8, 10, "4 (хорошо)"},
        {7, 10, "4 (хорошо)"},   {6, 10, "3 (удовлетворительно)"}, {5, 10, "2 (неудовлетворительно)"},
        {4, 10, "2 (неудовлетворительно)"}, {0, 10, "2 (неудовлетворительно)"},
        {8, 8, "5 (отлично)"},   {7, 8, "4 (хорошо)"},             {6, 8, "4 (хорошо)"},
        {5, 8, "3 (удовлетворительно)"}, {4, 8, "2 (неудовлетворительно)"}, {3, 8, "2 (неудовлетворительно)"},
        {0, 8, "2 (неудовлетворительно)"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(GradeOf(row.right, row.asked), row.grade) << row.right << " of " << row.asked;
    }
}

TEST(Grading, PercentageTruncatesAndBandEdgesHold) {
    EXPECT_EQ(engine::PercentRight(7, 8), 87);
    EXPECT_EQ(engine::PercentRight(5, 8), 62);
    EXPECT_EQ(engine::PercentRight(3, 8), 37);
    EXPECT_STREQ(engine::GradeFor(89), "4 (хорошо)");
    EXPECT_STREQ(engine::GradeFor(90), "5 (отлично)");
    EXPECT_STREQ(engine::GradeFor(69), "3 (удовлетворительно)");
    EXPECT_STREQ(engine::GradeFor(59), "2 (неудовлетворительно)");
}

TEST(Grading, PointsMatchTheGradeText) {
    for (std::int32_t percent = 0; percent <= 100; ++percent) {
        EXPECT_EQ(engine::GradeFor(percent)[0], static_cast<char>('0' + engine::GradePoints(percent))) << percent;
    }
}

}  // namespace
