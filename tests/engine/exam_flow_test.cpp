#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/exam_flow.h"
#include "engine/theme_table.h"

namespace {

struct OpenedWindow {
    int theme;
    std::int32_t number;  // 0 for the results window
};

class RecordingScreens final : public engine::TestScreens {
public:
    void OpenQuestion(int theme, std::int32_t number) override { opened.push_back({theme, number}); }
    void OpenResults() override {
        opened.push_back({0, 0});
        steps.emplace_back("results");
    }
    void LogTestResult(std::int32_t rightCount, std::int32_t questionsToAsk) override {
        steps.emplace_back("log " + std::to_string(rightCount) + " of " + std::to_string(questionsToAsk));
    }
    void CloseResultsLog() override { steps.emplace_back("close log"); }
    void ReturnToRegistration() override { steps.emplace_back("registration"); }
    std::vector<OpenedWindow> opened;
    std::vector<std::string> steps;
};

class FixedRandom final : public engine::Random {
public:
    explicit FixedRandom(std::int32_t value) : value_(value) {}
    void Seed(std::uint32_t) override {}
    std::int32_t Next() override { return value_; }

private:
    std::int32_t value_;
};

// One exam: a generator that always draws the same number, a clock stopped
// at zero and screens that record what they are asked to do.
struct Exam {
    explicit Exam(std::int32_t draw) : random(draw) {}
    void Begin(int theme) { engine::BeginTest(state, theme, source, screens); }
    void Answer(int theme, bool right) { engine::RecordAnswer(state, theme, right, screens); }

    engine::TestState state;
    FixedRandom random;
    engine::WalkSource source{random, [] { return std::time_t{0}; }};
    RecordingScreens screens;
};

TEST(ExamFlow, BeginTestResetsEverythingButTheLogAndOpensTheFirstQuestion) {
    Exam exam(3);
    exam.state.RightCount = 7;
    exam.state.WrongCount = 3;
    exam.state.QuestionOrdinal = 10;
    exam.state.AskedList.fill(5);
    exam.state.AskedIndex = 9;

    exam.Begin(11);

    EXPECT_EQ(exam.state.RightCount, 0);
    EXPECT_EQ(exam.state.WrongCount, 0);
    EXPECT_EQ(exam.state.QuestionsToAsk, 8);
    EXPECT_EQ(exam.state.BankSize, 8);
    EXPECT_EQ(exam.state.QuestionOrdinal, 1);
    EXPECT_EQ(exam.state.CurrentQuestion, 3);
    EXPECT_EQ(exam.state.AskedIndex, 0);
    std::array<std::int32_t, 20> expected{};
    expected[0] = 3;
    EXPECT_EQ(exam.state.AskedList, expected);
    ASSERT_EQ(exam.screens.opened.size(), 1u);
    EXPECT_EQ(exam.screens.opened[0].theme, 11);
    EXPECT_EQ(exam.screens.opened[0].number, 3);
}

TEST(ExamFlow, ATestScoresEachAnswerOnceAndEndsWithTheResults) {
    Exam exam(1);
    exam.Begin(1);

    const std::vector<bool> answers{true, false, true, true, false, true, true, false, true, true};
    for (std::size_t i = 0; i < answers.size(); ++i) {
        exam.Answer(1, answers[i]);
        EXPECT_EQ(exam.state.RightCount + exam.state.WrongCount, static_cast<std::int32_t>(i + 1));
    }
    EXPECT_EQ(exam.state.RightCount, 7);
    EXPECT_EQ(exam.state.WrongCount, 3);
    EXPECT_EQ(exam.state.QuestionOrdinal, 10);
    // The walk of a bank of 16 from question 1, then the results window.
    const std::vector<std::int32_t> walk{1, 4, 7, 10, 13, 16, 2, 5, 8, 11};
    ASSERT_EQ(exam.screens.opened.size(), 11u);
    for (std::size_t i = 0; i < walk.size(); ++i) {
        EXPECT_EQ(exam.screens.opened[i].theme, 1);
        EXPECT_EQ(exam.screens.opened[i].number, walk[i]);
    }
    EXPECT_EQ(exam.screens.opened.back().theme, 0);
}

TEST(ExamFlow, ASecondTestStartsFromAnEmptyAskedList) {
    Exam exam(2);
    exam.Begin(10);
    for (int i = 0; i < 10; ++i) exam.Answer(10, false);
    exam.screens.opened.clear();

    exam.Begin(10);
    for (int i = 0; i < 9; ++i) exam.Answer(10, false);
    std::vector<std::int32_t> asked;
    for (const OpenedWindow& window : exam.screens.opened) asked.push_back(window.number);
    EXPECT_EQ(asked, (std::vector<std::int32_t>{2, 5, 8, 1, 4, 7, 10, 3, 6, 9}));
}

TEST(ExamFlow, TheLastAnswerLogsTheResultAndFinishTestClosesTheLogThenReturns) {
    Exam exam(3);
    exam.Begin(11);
    for (int i = 0; i < 7; ++i) exam.Answer(11, i % 4 != 0);
    EXPECT_TRUE(exam.screens.steps.empty());
    exam.Answer(11, true);
    ASSERT_EQ(exam.state.RightCount, 6);
    // The result is logged as the test completes, before the results show,
    // so that any end of the program from there on keeps it.
    EXPECT_EQ(exam.screens.steps, (std::vector<std::string>{"log 6 of 8", "results"}));
    const engine::TestState finished = exam.state;

    engine::FinishTest(exam.state, exam.screens);

    // The registration window comes back only after the log is closed.
    EXPECT_EQ(exam.screens.steps, (std::vector<std::string>{"log 6 of 8", "results", "close log", "registration"}));
    EXPECT_EQ(exam.state.RightCount, 0);
    EXPECT_EQ(exam.state.WrongCount, 0);
    EXPECT_EQ(exam.state.QuestionOrdinal, 8);
    EXPECT_EQ(exam.state.CurrentQuestion, finished.CurrentQuestion);
    EXPECT_EQ(exam.state.WalkBase, finished.WalkBase);
    EXPECT_EQ(exam.state.QuestionsToAsk, 8);
    EXPECT_EQ(exam.state.BankSize, 8);
    EXPECT_EQ(exam.state.AskedList, finished.AskedList);
    EXPECT_EQ(exam.state.AskedIndex, 7);
}

}  // namespace
