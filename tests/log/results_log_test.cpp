#include "log/results_log.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/log/log_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

using logtest::Cp1251;
using resultslog::ResultsLog;
using testsupport::ReadFileBytes;
using testsupport::TemporaryWorkingDirectory;

void WriteFile(const std::string& bytes) { std::ofstream("Results.txt", std::ios::binary) << bytes; }

TEST(ResultsLog, ThreeStudentsOverTwoRunsGiveTheExactEntries) {
    TemporaryWorkingDirectory dir;
    {
        ResultsLog log;
        log.Open();
        EXPECT_TRUE(std::filesystem::exists("Results.txt"));
        EXPECT_EQ(ReadFileBytes("Results.txt"), "");
        log.WriteStudentHeader("Иванов Иван Иванович", "101");
        log.WriteTestResult(7, 10);
        EXPECT_EQ(ReadFileBytes("Results.txt"), "") << "entries are buffered until the log is closed";
        log.Close();
        EXPECT_EQ(ReadFileBytes("Results.txt"),
                  Cp1251("Иванов Иван Иванович\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n"));
        log.Open();
        log.WriteStudentHeader("Петров Петр Петрович", "101");
        // Abandoned: the program ends with the header pending.
    }
    {
        ResultsLog log;
        log.Open();
        log.WriteStudentHeader("Сидоров Сидор Сидорович", "102");
        log.WriteTestResult(8, 8);
        log.Close();
        log.Open();
        EXPECT_TRUE(log.Healthy());
    }
    EXPECT_EQ(ReadFileBytes("Results.txt"),
              Cp1251("Иванов Иван Иванович\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n"
                     "Петров Петр Петрович\r\n101\r\n"
                     "Сидоров Сидор Сидорович\r\n102\r\nПравильных ответов 8 из 8\r\n\r\n"));
}

TEST(ResultsLog, TwoFinishedTestsInOneRunEachGetAWholeEntry) {
    TemporaryWorkingDirectory dir;
    ResultsLog log;
    log.Open();
    log.WriteStudentHeader("Кузнецов", "201");
    log.WriteTestResult(0, 10);
    log.Close();
    EXPECT_FALSE(log.IsOpen());
    log.Open();
    EXPECT_TRUE(log.IsOpen());
    log.WriteStudentHeader("Смирнова", "202");
    log.WriteTestResult(10, 10);
    log.Close();
    EXPECT_EQ(ReadFileBytes("Results.txt"), Cp1251("Кузнецов\r\n201\r\nПравильных ответов 0 из 10\r\n\r\n"
                                                   "Смирнова\r\n202\r\nПравильных ответов 10 из 10\r\n\r\n"));
}

TEST(ResultsLog, FieldsAreWrittenAsDataExactlyAsTyped) {
    TemporaryWorkingDirectory dir;
    ResultsLog log;
    log.Open();
    log.WriteStudentHeader(" ", " ");
    log.WriteTestResult(3, 8);
    log.Close();
    log.Open();
    log.WriteStudentHeader("%s %d 100% %n", "%s %d");
    log.WriteTestResult(5, 10);
    log.Close();
    log.Open();
    // Line breaks and tabs must not split the entry; unknown characters
    // and broken UTF-8 become '?'.
    log.WriteStudentHeader("  Ёлкин\r\nЮ.\tЯ.  ", "日\xFF");
    log.Close();
    EXPECT_EQ(ReadFileBytes("Results.txt"), Cp1251(" \r\n \r\nПравильных ответов 3 из 8\r\n\r\n"
                                                   "%s %d 100% %n\r\n%s %d\r\nПравильных ответов 5 из 10\r\n\r\n"
                                                   "  Ёлкин??Ю.?Я.  \r\n??\r\n"));
}

TEST(ResultsLog, ExistingBytesStayAndAnUnendedLastLineIsContinued) {
    TemporaryWorkingDirectory dir;
    const std::string before = Cp1251("Чужая строка\r\nбез конца строки");
    WriteFile(before);
    ResultsLog log;
    log.Open();
    log.WriteStudentHeader("Орлов", "301");
    log.WriteTestResult(6, 10);
    log.Close();
    EXPECT_EQ(ReadFileBytes("Results.txt"), before + Cp1251("Орлов\r\n301\r\nПравильных ответов 6 из 10\r\n\r\n"));
}

TEST(ResultsLog, OpenWithAHeaderPendingWritesTheHeaderOnce) {
    TemporaryWorkingDirectory dir;
    const std::string header = Cp1251("Волков\r\n401\r\n");
    ResultsLog log;
    log.Open();
    log.WriteStudentHeader("Волков", "401");
    log.Open();
    EXPECT_EQ(ReadFileBytes("Results.txt"), header);
    log.Open();
    log.Close();
    EXPECT_EQ(ReadFileBytes("Results.txt"), header);
    EXPECT_TRUE(log.Healthy());
}

}  // namespace
