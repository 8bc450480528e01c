#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/results_log.h"
#include "tests/support/temp_dir.h"
#include "tests/viewer/viewer_test_support.h"
#include "viewer/core/files/log_reader.h"

namespace {

using resultslog::ResultsLog;
using viewer::LogReader;

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// Fields far longer than anyone types: nothing in the format limits them.
const std::string kLongName = Repeat("Ёлкин-Щукин ", 300) + "ё";
const std::string kLongPlatoon = "«" + Repeat("Взвод №5; \"Ъ\", 'ы' ", 200) + "»";

// Written by the test program, in one run each, then read by the viewer.
const std::vector<viewertest::Expected> kEntries = {
    {"  Иванов   Иван  Иванович ", " 101 ", 7, 10, 1},
    {"Ёлкина Алёна", "ВУЦ-Ё", 8, 8, 5},
    {"Петров; \"Пётр\" 'Младший', сын", "102;\"А\",'Б'", 0, 0, 9},
    {"О'Коннор, Джон \"Джонни\"", ",;", 0, 10, 11},
    {kLongName, kLongPlatoon, 10, 10, 15},
    {"   ", "Ё ё", 0, 0, 19},
};

TEST(LogRoundTrip, WhatTheTestProgramWritesTheViewerReadsBackExactly) {
    testsupport::TemporaryWorkingDirectory dir;
    for (const viewertest::Expected& entry : kEntries) {
        ResultsLog log;
        log.Open();
        log.WriteStudentHeader(entry.fullName, entry.platoon);
        if (entry.questions > 0) log.WriteTestResult(entry.right, entry.questions);
        log.Close();
    }

    LogReader reader;
    reader.Feed(testsupport::ReadFileBytes("Results.txt"));
    EXPECT_TRUE(reader.Remarks().empty()) << reader.Remarks().front().line << ": " << reader.Remarks().front().text;
    viewertest::ExpectAttempts(reader, kEntries);
}

}  // namespace
