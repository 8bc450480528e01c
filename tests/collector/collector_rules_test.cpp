// The service's rules without its socket: messages, the walk, scoring, the
// kept state and the guard against appending an entry twice.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>

#include "collector/attempt.h"
#include "collector/attempt_store.h"
#include "collector/file_write.h"
#include "collector/protocol.h"
#include "content/question_bank.h"
#include "content/question_names.h"
#include "engine/theme_table.h"
#include "facts/registration_limits.h"
#include "log/log_entry.h"
#include "log/log_field.h"
#include "tests/support/temp_dir.h"
#include "tests/support/walk_orders.h"

namespace {

using collector::Attempt;

TEST(CollectorProtocol, MessagesAreTakenOnlyInTheirExactShape) {
    struct Case {
        const char* line;
        bool good;
    };
    const Case cases[] = {
        {"register\tИванов Иван\t101", true},
        {"register\tИванов Иван", false},
        {"register\ta\tb\tc", false},
        {"theme\t1", true},
        {"theme\t13", true},
        {"theme\t0", false},
        {"theme\t14", false},
        {"theme\t+1", false},
        {"theme\t01x", false},
        {"answer\tTq1101\t0", true},
        {"answer\tTq1101\t4", true},
        {"answer\tTq1101\t5", false},
        {"answer\tTq1101\t-1", false},
        {"answer\tTq1101", false},
        {"end\tfinished", true},
        {"end\tstopped", true},
        {"end\tprogram-end", true},
        {"end\tabandoned", false},
        {"end\tfinished\t10\t10", false},
        {"resume\t0123456789abcdef", true},
        {"resume\t0123456789ABCDEF", false},
        {"resume\t0123", false},
        {"result\t10\t10", false},
        {"", false},
        {"theme\t1\r", false},
    };
    for (const Case& c : cases) EXPECT_EQ(collector::ParseMessage(c.line).refusal.empty(), c.good) << c.line;
}

TEST(CollectorWalk, EveryOrderTheProgramCanMakeIsTakenAndNoOther) {
    for (const testsupport::WalkOrder& order : testsupport::WalkOrders()) {
        int theme = 0;
        for (int t = 1; t <= engine::kThemeCount; ++t) {
            if (engine::Theme(t).BankSize == order.bank && engine::Theme(t).QuestionsToAsk == order.asked) theme = t;
        }
        ASSERT_NE(theme, 0);
        std::vector<std::int32_t> sofar;
        for (const int next : order.questions) {
            // Any other question of the bank is refused at this point; the
            // first may be any of the lower half.
            for (int other = 1; other <= order.bank; ++other) {
                const bool allowed = sofar.empty() ? other <= order.bank / 2 : other == next;
                EXPECT_EQ(collector::WalkAllows(theme, sofar, other), allowed)
                    << "bank " << order.bank << " first " << order.first << " step " << sofar.size() << " question "
                    << other;
            }
            sofar.push_back(next);
        }
        // However the walk would go on, no question beyond the theme's count.
        for (int other = 1; other <= order.bank; ++other)
            EXPECT_FALSE(collector::WalkAllows(theme, sofar, other)) << "more than the test asks: " << other;
    }
}

Attempt Registered() {
    Attempt attempt;
    attempt.fields.attempt = 0x1234;
    attempt.fields.name = "Иванов";
    attempt.fields.platoon = "101";
    attempt.account = "ivanov";
    attempt.logPath = "/x/Results.txt";
    return attempt;
}

TEST(CollectorScoring, TheRightCountComesFromTheBanksKeysAndTheSecondsFromTheServicesClock) {
    Attempt attempt = Registered();
    ASSERT_EQ(collector::ChooseTheme(attempt, 11, "t", 1000), "");
    const auto& order = testsupport::WalkOrderOf(8, 8, 3);
    int right = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::string name = content::WindowClassName({11, order[i]});
        const int key = content::Question({11, order[i]}).right;
        // Every other answer wrong, one not given at all.
        const int chosen = i == 5 ? 0 : (i % 2 == 0 ? key : key % 4 + 1);
        right += chosen == key ? 1 : 0;
        ASSERT_EQ(collector::TakeAnswer(attempt, name, chosen, 1000 + 7000 * static_cast<std::int64_t>(i + 1)), "");
    }
    EXPECT_TRUE(collector::Complete(attempt));
    // One answer more, to any question of the bank, is refused as such.
    for (int number = 1; number <= engine::Theme(11).BankSize; ++number) {
        EXPECT_EQ(collector::TakeAnswer(attempt, content::WindowClassName({11, number}), 1, 60000),
                  "every question is answered already")
            << number;
    }
    EXPECT_EQ(collector::RightCount(attempt), right);
    EXPECT_EQ(attempt.shown[3].seconds, 7);
    EXPECT_EQ(attempt.shown[5].chosen, 0);
    EXPECT_FALSE(attempt.shown[5].correct);
    collector::EndAttempt(attempt, resultslog::Ending::Stopped, "t2");
    // Every question answered: the result stands whatever the program says.
    EXPECT_EQ(attempt.ending, resultslog::Ending::Finished);
    ASSERT_EQ(attempt.writes.size(), 3u);
    EXPECT_EQ(attempt.writes[1].bytes,
              resultslog::StudentHeaderBytes("Иванов", "101") + resultslog::TestResultBytes({right, 8}));
}

TEST(CollectorScoring, EventsOutOfPlaceAreRefused) {
    Attempt attempt = Registered();
    const auto name = [](int theme, int number) { return content::WindowClassName({theme, number}); };
    EXPECT_NE(collector::TakeAnswer(attempt, name(1, 1), 1, 0), "") << "no theme yet";
    ASSERT_EQ(collector::ChooseTheme(attempt, 1, "t", 0), "");
    EXPECT_NE(collector::ChooseTheme(attempt, 2, "t", 0), "") << "a second theme";
    EXPECT_NE(collector::TakeAnswer(attempt, name(2, 1), 1, 0), "") << "another theme's question";
    EXPECT_NE(collector::TakeAnswer(attempt, name(1, 9), 1, 0), "") << "upper half of the bank first";
    EXPECT_NE(collector::TakeAnswer(attempt, "nonsense", 1, 0), "");
    ASSERT_EQ(collector::TakeAnswer(attempt, name(1, 1), 1, 0), "");
    EXPECT_NE(collector::TakeAnswer(attempt, name(1, 1), 1, 0), "") << "the same question again";
    collector::EndAttempt(attempt, resultslog::Ending::Abandoned, "t");
    EXPECT_EQ(attempt.ending, resultslog::Ending::Abandoned);
    EXPECT_NE(collector::TakeAnswer(attempt, name(1, 4), 1, 0), "") << "after the end";
    // The header alone: an abandoned test has no result line.
    EXPECT_EQ(attempt.writes[1].bytes, resultslog::StudentHeaderBytes("Иванов", "101"));
}

TEST(CollectorState, AnAttemptComesBackFromItsFileAsItWas) {
    Attempt attempt = Registered();
    attempt.fields.name = "Имя с пробелом\\ и \x01";
    attempt.fields.computer = "pc 12";
    collector::ChooseTheme(attempt, 11, "2026-12-08T09:15:02+03:00", 5);
    collector::TakeAnswer(attempt, content::WindowClassName({11, 3}), 2, 4005);
    attempt.writes[0].offset = 77;
    const auto back = collector::ParseAttemptText(collector::AttemptText(attempt));
    ASSERT_TRUE(back);
    EXPECT_EQ(collector::AttemptText(*back), collector::AttemptText(attempt));
    EXPECT_EQ(back->fields.name, attempt.fields.name);
    EXPECT_EQ(back->writes[0].bytes, attempt.writes[0].bytes);
    // A file cut short is not taken for an attempt.
    const std::string text = collector::AttemptText(attempt);
    EXPECT_FALSE(collector::ParseAttemptText(text.substr(0, text.size() - 6)));
}

TEST(CollectorWrite, AnAppendInterruptedAfterItsOffsetWasKeptIsNotDoubled) {
    const testsupport::TemporaryWorkingDirectory dir;
    const std::filesystem::path file = dir.Path() / "Results.txt";
    struct Case {
        const char* before;   // the file when the service starts again
        std::int64_t offset;  // as kept before the crash
        const char* after;    // the file once the write is carried out
    };
    const Case cases[] = {
        {"old\r\nentry\r\n", 5, "old\r\nentry\r\n"},           // appended, then the crash
        {"old\r\n", 5, "old\r\nentry\r\n"},                    // the crash came first
        {"old\r\nother\r\n", 5, "old\r\nother\r\nentry\r\n"},  // and another entry came meanwhile
        {"old\r\n", -1, "old\r\nentry\r\n"},                   // nothing kept yet
        {"", 5, "entry\r\n"},                                  // the file was archived meanwhile
    };
    for (const Case& c : cases) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << c.before;
        collector::PendingWrite write{file.native(), "entry\r\n", c.offset, false};
        int kept = 0;
        EXPECT_EQ(collector::CarryOut(write, [&] { return ++kept > 0; }), collector::WriteOutcome::Done);
        EXPECT_TRUE(write.done);
        EXPECT_EQ(testsupport::ReadFileBytes(file), c.after) << c.before << " @" << c.offset;
    }
}

TEST(LogField, NoNameOrPlatoonReadsAsALineOfTheLog) {
    using resultslog::FieldProblem;
    struct Case {
        const char* text;
        FieldProblem problem;
    };
    const Case cases[] = {
        {"Иванов Иван Иванович", FieldProblem::None},
        {"ВЗ-21", FieldProblem::None},
        {"Правильных ответов 10 из 10", FieldProblem::ReadsAsLogLine},
        {"  Правильных ответов", FieldProblem::ReadsAsLogLine},
        {"Правильных ответов10", FieldProblem::ReadsAsLogLine},
        {"п»їИванов", FieldProblem::ReadsAsLogLine},
        {"Правильно", FieldProblem::None},
        {"   ", FieldProblem::Empty},
        {" \u00A0 ", FieldProblem::Empty},
        {"", FieldProblem::Empty},
        {"a\tb", FieldProblem::BadCharacter},
        {"a\r\nПравильных ответов 10 из 10", FieldProblem::BadCharacter},
        {"漢字", FieldProblem::BadCharacter},
        {"\xff\xfe", FieldProblem::BadCharacter},
    };
    for (const Case& c : cases) EXPECT_EQ(resultslog::CheckLogField(c.text, 100), c.problem) << c.text;
    EXPECT_EQ(resultslog::CheckLogField(std::string(21, 'x'), facts::kPlatoonLimit), FieldProblem::TooLong);
    EXPECT_EQ(resultslog::CheckLogField(std::string(20, 'x'), facts::kPlatoonLimit), FieldProblem::None);
}

}  // namespace
