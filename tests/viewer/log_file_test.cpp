#include "viewer/core/files/log_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/log/log_test_support.h"
#include "tests/support/temp_dir.h"
#include "tests/viewer/viewer_test_support.h"

namespace {

using logtest::Cp1251;
using viewer::LogFile;
using viewertest::FinishTest;

void Write(const std::filesystem::path& path, const std::string& bytes,
           std::ios::openmode mode = std::ios::binary | std::ios::trunc) {
    std::ofstream(path, mode) << bytes;
}

TEST(LogFile, ReadsOnlyWhatTheTestProgramAppends) {
    testsupport::TemporaryWorkingDirectory dir;
    LogFile file("Results.txt");
    EXPECT_FALSE(file.Refresh().any);
    EXPECT_EQ(file.Problem(), "файл не найден");

    FinishTest("Иванов", "101", 7, 10);
    LogFile::Change change = file.Refresh();
    EXPECT_TRUE(change.any);
    EXPECT_EQ(change.firstChanged, 0u);
    EXPECT_EQ(file.Problem(), "");
    EXPECT_EQ(file.Reader().Attempts().size(), 1u);

    EXPECT_FALSE(file.Refresh().any) << "nothing appended";

    FinishTest("Петров", "102", 8, 8);
    change = file.Refresh();
    EXPECT_EQ(change.firstChanged, 1u);
    ASSERT_EQ(file.Reader().Attempts().size(), 2u);
    EXPECT_EQ(file.Reader().Attempts()[1].rightCount, 8);
    EXPECT_EQ(file.Reader().BytesFed(), std::filesystem::file_size("Results.txt"));
}

TEST(LogFile, AHeaderGetsItsResultLater) {
    testsupport::TemporaryWorkingDirectory dir;
    Write("Results.txt", Cp1251("Иванов\r\n101\r\n"));
    LogFile file("Results.txt");
    file.Refresh();
    ASSERT_EQ(file.Reader().Attempts().size(), 1u);
    EXPECT_FALSE(file.Reader().Attempts()[0].Finished());
    Write("Results.txt", Cp1251("Правильных ответов 9 из 10\r\n\r\n"), std::ios::binary | std::ios::app);
    EXPECT_EQ(file.Refresh().firstChanged, 0u);
    EXPECT_TRUE(file.Reader().Attempts()[0].Finished());
}

TEST(LogFile, AReplacedOrShortenedFileIsReadAgain) {
    testsupport::TemporaryWorkingDirectory dir;
    FinishTest("Иванов", "101", 7, 10);
    FinishTest("Петров", "101", 6, 10);
    LogFile file("Results.txt");
    file.Refresh();
    ASSERT_EQ(file.Reader().Attempts().size(), 2u);

    // An instructor collects the log: a new file takes the name.
    std::filesystem::rename("Results.txt", "collected.txt");
    EXPECT_FALSE(file.Refresh().any);
    EXPECT_EQ(file.Reader().Attempts().size(), 2u) << "what was read stays";
    FinishTest("Сидоров", "102", 8, 8);
    LogFile::Change change = file.Refresh();
    EXPECT_TRUE(change.any);
    EXPECT_EQ(change.firstChanged, 0u);
    ASSERT_EQ(file.Reader().Attempts().size(), 1u);
    EXPECT_EQ(file.Reader().Attempts()[0].fullName, "Сидоров");

    FinishTest("Орлов", "102", 5, 10);
    file.Refresh();
    std::filesystem::resize_file("Results.txt", 3);
    Write("Results.txt", Cp1251("Козлов\r\n103\r\n"));
    change = file.Refresh();
    EXPECT_EQ(change.firstChanged, 0u);
    ASSERT_EQ(file.Reader().Attempts().size(), 1u);
    EXPECT_EQ(file.Reader().Attempts()[0].fullName, "Козлов");
}

TEST(LogFile, ADirectoryIsNoLog) {
    testsupport::TemporaryWorkingDirectory dir;
    std::filesystem::create_directory("Results.txt");
    LogFile file("Results.txt");
    EXPECT_FALSE(file.Refresh().any);
    EXPECT_FALSE(file.Problem().empty());
}

}  // namespace
