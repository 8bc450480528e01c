#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "log/results_log.h"
#include "viewer/core/files/log_reader.h"

namespace viewertest {

// An attempt the reader must find.
struct Expected {
    std::string fullName;
    std::string platoon;
    std::int32_t right;
    std::int32_t questions;  // 0: unfinished, no result line
    std::int64_t line;       // where the full name stands
};

inline void ExpectAttempts(const viewer::LogReader& reader, const std::vector<Expected>& expected) {
    ASSERT_EQ(reader.Attempts().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const viewer::Attempt& got = reader.Attempts()[i];
        EXPECT_EQ(got.fullName, expected[i].fullName) << i;
        EXPECT_EQ(got.platoon, expected[i].platoon) << i;
        EXPECT_EQ(got.rightCount, expected[i].right) << i;
        EXPECT_EQ(got.questionCount, expected[i].questions) << i;
        EXPECT_EQ(got.line, expected[i].line) << i;
    }
}

// Entries written by the test program's own log code.
inline void FinishTest(const char* name, const char* platoon, int right, int asked) {
    resultslog::ResultsLog log;
    log.Open();
    log.WriteStudentHeader(name, platoon);
    log.WriteTestResult(right, asked);
    log.Close();
}

// The program ends with the header pending, as when a student leaves.
inline void AbandonTest(const char* name, const char* platoon) {
    resultslog::ResultsLog log;
    log.Open();
    log.WriteStudentHeader(name, platoon);
}

}  // namespace viewertest
