#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "engine/grading.h"

namespace {

// The five-point scale as written: 90 % and above "5 (отлично)", 70 … 89
// "4 (хорошо)", 60 … 69 "3 (удовлетворительно)", below 60
// "2 (неудовлетворительно)", on the percentage truncated to a whole number.
struct Case {
    std::int32_t right;
    std::int32_t percent;
    const char* grade;
};

void ExpectGrades(std::int32_t asked, std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.right) + " of " + std::to_string(asked));
        EXPECT_EQ(engine::PercentRight(c.right, asked), c.percent);
        EXPECT_STREQ(engine::GradeFor(engine::PercentRight(c.right, asked)), c.grade);
    }
}

TEST(Grading, EveryResultOfATestOfTen) {
    ExpectGrades(10, {
                         {10, 100, "5 (отлично)"},
                         {9, 90, "5 (отлично)"},  // the lowest 5
                         {8, 80, "4 (хорошо)"},
                         {7, 70, "4 (хорошо)"},             // the lowest 4
                         {6, 60, "3 (удовлетворительно)"},  // the only 3
                         {5, 50, "2 (неудовлетворительно)"},
                         {4, 40, "2 (неудовлетворительно)"},
                         {3, 30, "2 (неудовлетворительно)"},
                         {2, 20, "2 (неудовлетворительно)"},
                         {1, 10, "2 (неудовлетворительно)"},
                         {0, 0, "2 (неудовлетворительно)"},
                     });
}

// 87.5 % counts as 87, short of a 5; 62.5 % as 62, a 3.
TEST(Grading, EveryResultOfATestOfEight) {
    ExpectGrades(8, {
                        {8, 100, "5 (отлично)"},  // the only 5
                        {7, 87, "4 (хорошо)"},
                        {6, 75, "4 (хорошо)"},             // the lowest 4
                        {5, 62, "3 (удовлетворительно)"},  // the only 3
                        {4, 50, "2 (неудовлетворительно)"},
                        {3, 37, "2 (неудовлетворительно)"},
                        {2, 25, "2 (неудовлетворительно)"},
                        {1, 12, "2 (неудовлетворительно)"},
                        {0, 0, "2 (неудовлетворительно)"},
                    });
}

// Both sides of each band's edge, as points and as text.
TEST(Grading, BandEdgesOfTheScale) {
    struct Edge {
        std::int32_t percent;
        std::int32_t points;
        const char* grade;
    };
    const Edge edges[] = {
        {100, 5, "5 (отлично)"},
        {90, 5, "5 (отлично)"},
        {89, 4, "4 (хорошо)"},
        {70, 4, "4 (хорошо)"},
        {69, 3, "3 (удовлетворительно)"},
        {60, 3, "3 (удовлетворительно)"},
        {59, 2, "2 (неудовлетворительно)"},
        {0, 2, "2 (неудовлетворительно)"},
    };
    for (const Edge& edge : edges) {
        EXPECT_EQ(engine::GradePoints(edge.percent), edge.points) << edge.percent << " %";
        EXPECT_STREQ(engine::GradeFor(edge.percent), edge.grade) << edge.percent << " %";
    }
}

}  // namespace
