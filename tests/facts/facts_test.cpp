#include <gtest/gtest.h>

#include "facts/results_files.h"

namespace {

// The program, the service and the viewer all name the answers record this
// way, so a log under any name finds its record and back.
TEST(ResultsFilesTest, ALogAndItsAnswersRecordNameEachOther) {
    struct Case {
        const char* log;
        const char* record;
        const char* logAgain;  // the log the record names back
    };
    const Case cases[] = {
        {"/srv/kalvena/pc12/Results.txt", "/srv/kalvena/pc12/Results.answers.csv", "/srv/kalvena/pc12/Results.txt"},
        {"Results.txt", "Results.answers.csv", "Results.txt"},
        {"class.log", "class.answers.csv", "class.txt"},
        {"a.b/Results", "a.b/Results.answers.csv", "a.b/Results.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log);
        EXPECT_EQ(facts::AnswersRecordPath(c.log), c.record);
        EXPECT_TRUE(facts::IsAnswersRecord(c.record));
        EXPECT_FALSE(facts::IsAnswersRecord(c.log));
        EXPECT_EQ(facts::LogPathFor(c.record), c.logAgain);
    }
    EXPECT_FALSE(facts::IsAnswersRecord("answers.csv/Results.txt"));
}

}  // namespace
