#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "engine/question_walk.h"
#include "engine/theme_table.h"
#include "tests/support/deadline.h"
#include "tests/support/walk_orders.h"

namespace {

using engine::TestState;

// A generator that yields a fixed series, so a test decides the draw.
class ScriptedRandom final : public engine::Random {
public:
    explicit ScriptedRandom(std::vector<std::int32_t> values) : values_(std::move(values)) {}
    void Seed(std::uint32_t seed) override { seeds.push_back(seed); }
    std::int32_t Next() override { return values_.at(next_++ % values_.size()); }
    std::vector<std::uint32_t> seeds;

private:
    std::vector<std::int32_t> values_;
    std::size_t next_ = 0;
};

TestState FreshState(std::int32_t bankSize) {
    TestState state;
    state.BankSize = bankSize;
    return state;
}

// The whole sequence of a test whose first question is `first`.
std::vector<std::int32_t> Walk(std::int32_t bankSize, std::int32_t asked, std::int32_t first,
                               int* maxPasses = nullptr) {
    const testsupport::Deadline deadline(std::chrono::seconds{5}, "the question walk");
    TestState state = FreshState(bankSize);
    ScriptedRandom random({first});
    engine::WalkSource source{random, [] { return std::time_t{0}; }};
    engine::PickFirstQuestion(state, source);
    std::vector<std::int32_t> sequence{state.CurrentQuestion};
    while (static_cast<std::int32_t>(sequence.size()) < asked) {
        const int passes = engine::PickNextQuestion(state);
        if (maxPasses != nullptr) *maxPasses = std::max(*maxPasses, passes);
        sequence.push_back(state.CurrentQuestion);
    }
    return sequence;
}

TEST(QuestionWalk, FollowsEverySequenceOfTheTable) {
    for (const testsupport::WalkOrder& row : testsupport::WalkOrders()) {
        EXPECT_EQ(Walk(row.bank, row.asked, row.first), row.questions)
            << "bank " << row.bank << ", first question " << row.first;
    }
}

TEST(QuestionWalk, SeventhQuestionAfterFirstOneInBankOf16ComesFromTheZeroFixUp) {
    TestState state = FreshState(16);
    ScriptedRandom random({1});
    engine::WalkSource source{random, [] { return std::time_t{0}; }};
    engine::PickFirstQuestion(state, source);
    for (int i = 0; i < 5; ++i) engine::PickNextQuestion(state);
    ASSERT_EQ(state.CurrentQuestion, 16);
    engine::PickNextQuestion(state);
    EXPECT_EQ(state.CurrentQuestion, 2);
    EXPECT_EQ(state.WalkBase, 1);
    EXPECT_EQ(state.AskedIndex, 6);
    EXPECT_EQ(state.AskedList[6], 2);
}

TEST(QuestionWalk, TenthQuestionAfterFirstFiveInBankOf10SkipsSixAskedAndWraps) {
    TestState state = FreshState(10);
    ScriptedRandom random({5});
    engine::WalkSource source{random, [] { return std::time_t{0}; }};
    engine::PickFirstQuestion(state, source);
    for (int i = 0; i < 8; ++i) engine::PickNextQuestion(state);
    ASSERT_EQ(state.WalkBase, 2);
    const int passes = engine::PickNextQuestion(state);
    EXPECT_EQ(state.CurrentQuestion, 1);
    EXPECT_EQ(state.WalkBase, 1);
    EXPECT_EQ(passes, 7);
}

TEST(QuestionWalk, EveryThemeAndFirstQuestionAsksDistinctQuestionsOfTheBank) {
    for (int theme = 1; theme <= engine::kThemeCount; ++theme) {
        const engine::ThemeRow& row = engine::Theme(theme);
        std::set<std::int32_t> everAsked;
        for (std::int32_t first = 1; first <= row.BankSize / 2; ++first) {
            int maxPasses = 0;
            const auto sequence = Walk(row.BankSize, row.QuestionsToAsk, first, &maxPasses);
            const std::set<std::int32_t> distinct(sequence.begin(), sequence.end());
            EXPECT_EQ(distinct.size(), sequence.size()) << "theme " << theme << ", first " << first;
            EXPECT_GE(*distinct.begin(), 1);
            EXPECT_LE(*distinct.rbegin(), row.BankSize);
            EXPECT_LE(maxPasses, 7) << "theme " << theme << ", first " << first;
            everAsked.insert(sequence.begin(), sequence.end());
        }
        EXPECT_EQ(static_cast<std::int32_t>(everAsked.size()), row.BankSize) << "theme " << theme;
    }
}

TEST(QuestionWalk, FirstDrawThrowsAwayZeroAndStaysInTheLowerHalf) {
    TestState state = FreshState(16);
    // 0 and 9 reduce to 0 modulo 9 and are drawn again; 17 gives 8.
    ScriptedRandom random({0, 9, 17});
    engine::WalkSource source{random, [] { return std::time_t{1234}; }};
    engine::PickFirstQuestion(state, source);
    EXPECT_EQ(state.CurrentQuestion, 8);
    EXPECT_EQ(state.WalkBase, 8);
    EXPECT_EQ(state.AskedList[0], 8);
    EXPECT_EQ(random.seeds, std::vector<std::uint32_t>{1234});
}

TEST(QuestionWalk, TwoStartsInTheSameSecondDrawTheSameFirstQuestion) {
    engine::LinearRandom random;
    for (std::time_t second : {std::time_t{0}, std::time_t{1700000000}, std::time_t{1700000001}}) {
        engine::WalkSource source{random, [second] { return second; }};
        TestState first = FreshState(20);
        TestState second_start = FreshState(20);
        engine::PickFirstQuestion(first, source);
        engine::PickFirstQuestion(second_start, source);
        EXPECT_EQ(first.CurrentQuestion, second_start.CurrentQuestion);
        EXPECT_GE(first.CurrentQuestion, 1);
        EXPECT_LE(first.CurrentQuestion, 10);
    }
}

TEST(QuestionWalk, TheRealGeneratorReachesEveryFirstQuestion) {
    engine::LinearRandom random;
    std::set<std::int32_t> seen;
    for (std::time_t second = 0; second < 400; ++second) {
        engine::WalkSource source{random, [second] { return second; }};
        TestState state = FreshState(8);
        engine::PickFirstQuestion(state, source);
        seen.insert(state.CurrentQuestion);
    }
    EXPECT_EQ(seen, (std::set<std::int32_t>{1, 2, 3, 4}));
}

}  // namespace
