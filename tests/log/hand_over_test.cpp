// With protected results the log and the answers record go entry by entry
// to the helper; one it refuses is held back and handed over again later.
// A stand-in helper records what it is given.
#include "log/hand_over.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "log/results_log.h"
#include "tests/log/log_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

using logtest::Cp1251;
using testsupport::ReadFileBytes;

// Takes entries only once the file "ready" exists; marks the end of each.
std::filesystem::path StandInHelper() {
    const std::filesystem::path path = std::filesystem::absolute("helper");
    std::ofstream(path) << "#!/bin/sh\n[ -e ready ] || exit 3\ncat >> \"got.$1\"\nprintf '|' >> \"got.$1\"\n";
    chmod(path.c_str(), 0755);
    return path;
}

TEST(HandOver, EachEntryGoesAloneAndARefusedOneLater) {
    testsupport::TemporaryWorkingDirectory dir;
    resultslog::ResultsLog log("nowhere/Results.txt");
    log.File().HandOverTo(StandInHelper(), "log");
    log.Open();
    EXPECT_TRUE(log.Healthy()) << "the folder is the helper's to open";
    log.WriteStudentHeader("Иванов Иван", "101");
    log.WriteTestResult(7, 10);
    log.Close();
    EXPECT_EQ(log.HeldBack(), resultslog::Holdup::FileUnwritable);
    EXPECT_FALSE(std::filesystem::exists("got.log"));

    std::ofstream("ready").close();
    EXPECT_TRUE(log.AppendHeldBack());
    EXPECT_EQ(ReadFileBytes("got.log"), Cp1251("Иванов Иван\r\n101\r\n|Правильных ответов 7 из 10\r\n\r\n|"));
    EXPECT_FALSE(std::filesystem::exists("nowhere")) << "the program never makes the protected folder";
}

TEST(HandOver, AMissingHelperRefuses) {
    EXPECT_FALSE(resultslog::HandOver("/nonexistent/kalvena-append", "log", "x\r\ny\r\n"));
}

TEST(HandOver, EntriesAreSplitAsTheHelperTakesThem) {
    using Entries = std::vector<std::string_view>;
    EXPECT_EQ(resultslog::SplitEntries("log", "a\r\nb\r\nR\r\n\r\nc\r\n"), (Entries{"a\r\nb\r\n", "R\r\n\r\n"}));
    EXPECT_EQ(resultslog::SplitEntries("answers", "s,1\ne,2\nt"), (Entries{"s,1\n", "e,2\n"}));
}

}  // namespace
