#include "log/answers_record.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/lock_holder.h"
#include "tests/support/temp_dir.h"

namespace {

using resultslog::AnswersRecord;
using resultslog::AttemptFields;
using resultslog::Ending;
using testsupport::ReadFileBytes;
using testsupport::TemporaryWorkingDirectory;
using Instant = std::chrono::steady_clock::time_point;

constexpr const char* kPath = "Results.answers.csv";

// Clocks the test moves by hand, on Moscow time (UTC+3, no summer time).
class AnswersRecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "MSK-3", 1);
        tzset();
    }
    void TearDown() override {
        unsetenv("TZ");
        tzset();
    }

    AnswersRecord::Clocks Clocks() {
        return {[this] { return wall_; }, [this] { return Instant{} + std::chrono::milliseconds(monotonicMs_); }};
    }

    static AttemptFields Fields(std::string name) {
        return {"pc12", "1.0", 0x3fa85f64, 0x9c1e4b7a2d3f6e80, std::move(name), "ВЗ-21", 11};
    }

    TemporaryWorkingDirectory dir_;
    std::time_t wall_ = 1796710502;  // 2026-12-08 06:15:02 UTC
    long monotonicMs_ = 0;
};

TEST_F(AnswersRecordTest, AFinishedAttemptGivesItsStartAndEndLines) {
    {
        AnswersRecord record(kPath, Clocks());
        // Spaces as typed, a control character as the log writes it.
        record.Begin(Fields(" Иванов, \"Ваня\"\t"), 2);
        EXPECT_EQ(ReadFileBytes(kPath),
                  "kalvena-answers-1,start,2026-12-08T09:15:02+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,"
                  "\" Иванов, \"\"Ваня\"\"?\",ВЗ-21,11\n")
            << "the start line is in the file as the attempt begins";
        record.QuestionShown("Tq1101");
        monotonicMs_ += 20'600;
        record.QuestionAnswered(1, true);
        record.QuestionShown("Tq1107");
        monotonicMs_ += 39'400;
        record.QuestionAnswered(0, false);
        wall_ = 1796710780;
        record.End(Ending::Finished);
        EXPECT_FALSE(record.Running());
    }
    EXPECT_EQ(ReadFileBytes(kPath),
              "kalvena-answers-1,start,2026-12-08T09:15:02+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,"
              "\" Иванов, \"\"Ваня\"\"?\",ВЗ-21,11\n"
              "kalvena-answers-1,end,2026-12-08T09:19:40+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,"
              "\" Иванов, \"\"Ваня\"\"?\",ВЗ-21,11,finished,1,2,Tq1101,1,1,21,Tq1107,,0,39\n")
        << "nothing more at the end of the program";
}

// The question on screen when the attempt ends is listed unanswered, with
// its time so far; the program's end ends a running attempt.
TEST_F(AnswersRecordTest, AnEarlyEndListsTheQuestionOnScreenUnanswered) {
    const std::string start =
        "kalvena-answers-1,start,2026-12-08T09:15:02+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,Петров,ВЗ-21,11\n";
    for (const Ending ending : {Ending::Stopped, Ending::ProgramEnd}) {
        std::filesystem::remove(kPath);
        {
            AnswersRecord record(kPath, Clocks());
            record.Begin(Fields("Петров"), 8);
            record.QuestionShown("Tq1103");
            monotonicMs_ += 5'000;
            record.QuestionAnswered(2, true);
            record.QuestionShown("Tq1104");
            monotonicMs_ += 7'000;
            if (ending == Ending::Stopped) record.End(Ending::Stopped);
        }
        EXPECT_EQ(ReadFileBytes(kPath), start +
                                            "kalvena-answers-1,end,2026-12-08T09:15:02+03:00,pc12,1.0,3fa85f64,"
                                            "9c1e4b7a2d3f6e80,Петров,ВЗ-21,11," +
                                            (ending == Ending::Stopped ? "stopped" : "program-end") +
                                            ",1,8,Tq1103,2,1,5,Tq1104,,0,7\n");
    }
}

// Each line goes to the file the name gives at that moment: one moved away
// (an instructor collecting it) keeps the start line, a new file under the
// name gets the end line.
TEST_F(AnswersRecordTest, FollowsAFileMovedAwayBetweenEvents) {
    AnswersRecord record(kPath, Clocks());
    record.Begin(Fields("Петров"), 8);
    std::filesystem::rename(kPath, "collected.csv");
    record.End(Ending::Stopped);
    EXPECT_EQ(ReadFileBytes("collected.csv"),
              "kalvena-answers-1,start,2026-12-08T09:15:02+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,Петров,ВЗ-21,11\n");
    EXPECT_EQ(ReadFileBytes(kPath),
              "kalvena-answers-1,end,2026-12-08T09:15:02+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,Петров,ВЗ-21,11,"
              "stopped,0,8\n");
}

// While another program holds the lock the lines wait, and nothing of them
// reaches the file; once it is free both go out whole, in order.
TEST_F(AnswersRecordTest, LinesHeldBackByABusyLockAreAppendedWholeLater) {
    AnswersRecord record(kPath, Clocks());
    testsupport::LockHolder otherProgram(kPath);
    record.Begin(Fields("Петров"), 8);
    record.End(Ending::Stopped);
    EXPECT_EQ(record.HeldBack(), resultslog::Holdup::LockBusy);
    EXPECT_FALSE(record.AppendHeldBack());
    EXPECT_EQ(ReadFileBytes(kPath), "");
    otherProgram.Release();
    EXPECT_TRUE(record.AppendHeldBack());
    EXPECT_TRUE(record.Healthy());
    EXPECT_EQ(ReadFileBytes(kPath),
              "kalvena-answers-1,start,2026-12-08T09:15:02+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,Петров,ВЗ-21,11\n"
              "kalvena-answers-1,end,2026-12-08T09:15:02+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,Петров,ВЗ-21,11,"
              "stopped,0,8\n");
}

}  // namespace
