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
    void OpenResults() override { opened.push_back({0, 0}); }
    void LogTestResult(std::int32_t rightCount, std::int32_t questionsToAsk) override {
        steps.push_back("log " + std::to_string(rightCount) + " of " + std::to_string(questionsToAsk));
    }
    void ReturnToRegistration() override { steps.push_back("registration"); }
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

TEST(ExamFlow, BeginTestResetsEverythingButTheLogAndOpensTheFirstQuestion) {
    engine::TestState state;
    state.RightCount = 7;
    state.WrongCount = 3;
    state.QuestionOrdinal = 10;
    state.AskedList.fill(5);
    state.AskedIndex = 9;
    FixedRandom random(3);
    engine::WalkSource source{random, [] { return std::time_t{0}; }};
    RecordingScreens screens;

    engine::BeginTest(state, 11, source, screens);

    EXPECT_EQ(state.RightCount, 0);
    EXPECT_EQ(state.WrongCount, 0);
    EXPECT_EQ(state.QuestionsToAsk, 8);
    EXPECT_EQ(state.BankSize, 8);
    EXPECT_EQ(state.QuestionOrdinal, 1);
    EXPECT_EQ(state.CurrentQuestion, 3);
    EXPECT_EQ(state.AskedIndex, 0);
    std::array<std::int32_t, 20> expected{};
    expected[0] = 3;
    EXPECT_EQ(state.AskedList, expected);
    ASSERT_EQ(screens.opened.size(), 1u);
    EXPECT_EQ(screens.opened[0].theme, 11);
    EXPECT_EQ(screens.opened[0].number, 3);
}

TEST(ExamFlow, ATestScoresEachAnswerOnceAndEndsWithTheResults) {
    engine::TestState state;
    FixedRandom random(1);
    engine::WalkSource source{random, [] { return std::time_t{0}; }};
    RecordingScreens screens;
    engine::BeginTest(state, 1, source, screens);

    const std::vector<bool> answers{true, false, true, true, false, true, true, false, true, true};
    for (std::size_t i = 0; i < answers.size(); ++i) {
        engine::RecordAnswer(state, 1, answers[i], screens);
        EXPECT_EQ(state.RightCount + state.WrongCount, static_cast<std::int32_t>(i + 1));
    }
    EXPECT_EQ(state.RightCount, 7);
    EXPECT_EQ(state.WrongCount, 3);
    EXPECT_EQ(state.QuestionOrdinal, 10);
    // The walk of a bank of 16 from question 1, then the results window.
    const std::vector<std::int32_t> walk{1, 4, 7, 10, 13, 16, 2, 5, 8, 11};
    ASSERT_EQ(screens.opened.size(), 11u);
    for (std::size_t i = 0; i < walk.size(); ++i) {
        EXPECT_EQ(screens.opened[i].theme, 1);
        EXPECT_EQ(screens.opened[i].number, walk[i]);
    }
    EXPECT_EQ(screens.opened.back().theme, 0);
}

TEST(ExamFlow, ASecondTestStartsFromAnEmptyAskedList) {
    engine::TestState state;
    FixedRandom random(2);
    engine::WalkSource source{random, [] { return std::time_t{0}; }};
    RecordingScreens screens;
    engine::BeginTest(state, 10, source, screens);
    for (int i = 0; i < 10; ++i) engine::RecordAnswer(state, 10, false, screens);
    screens.opened.clear();

    engine::BeginTest(state, 10, source, screens);
    for (int i = 0; i < 9; ++i) engine::RecordAnswer(state, 10, false, screens);
    std::vector<std::int32_t> asked;
    for (const OpenedWindow& window : screens.opened) asked.push_back(window.number);
    EXPECT_EQ(asked, (std::vector<std::int32_t>{2, 5, 8, 1, 4, 7, 10, 3, 6, 9}));
}

TEST(ExamFlow, FinishTestLogsTheResultThenClearsOnlyTheCountsAndReturnsToRegistration) {
    engine::TestState state;
    FixedRandom random(3);
    engine::WalkSource source{random, [] { return std::time_t{0}; }};
    RecordingScreens screens;
    engine::BeginTest(state, 11, source, screens);
    for (int i = 0; i < 8; ++i) engine::RecordAnswer(state, 11, i % 4 != 0, screens);
    ASSERT_EQ(state.RightCount, 6);
    const engine::TestState finished = state;

    engine::FinishTest(state, screens);

    // The log gets the counts before they are cleared, and the registration
    // window comes back only after the log is closed.
    EXPECT_EQ(screens.steps, (std::vector<std::string>{"log 6 of 8", "registration"}));
    EXPECT_EQ(state.RightCount, 0);
    EXPECT_EQ(state.WrongCount, 0);
    EXPECT_EQ(state.QuestionOrdinal, 8);
    EXPECT_EQ(state.CurrentQuestion, finished.CurrentQuestion);
    EXPECT_EQ(state.WalkBase, finished.WalkBase);
    EXPECT_EQ(state.QuestionsToAsk, 8);
    EXPECT_EQ(state.BankSize, 8);
    EXPECT_EQ(state.AskedList, finished.AskedList);
    EXPECT_EQ(state.AskedIndex, 7);
}

}  // namespace
