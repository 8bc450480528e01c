#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

#include "log/append_file.h"
#include "log/results_log.h"
#include "tests/log/log_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

using logtest::Cp1251;
using logtest::RunInChild;
using resultslog::ResultsLog;
using testsupport::ReadFileBytes;
using testsupport::TemporaryWorkingDirectory;

TEST(ResultsLogFaults, TheOpenFileWritesBlockingAndAppends) {
    TemporaryWorkingDirectory dir;
    for (int attempt = 0; attempt < 2; ++attempt) {  // created, then found
        const int fd = resultslog::OpenAppendFile("Results.txt");
        ASSERT_GE(fd, 0);
        const int flags = fcntl(fd, F_GETFL);
        // A non-blocking write may give up half-way with EAGAIN.
        EXPECT_EQ(flags & O_NONBLOCK, 0);
        EXPECT_NE(flags & O_APPEND, 0);
        resultslog::CloseAppendFile(fd);
    }
    // A FIFO in the file's place is refused at once instead of hanging.
    std::filesystem::remove("Results.txt");
    ASSERT_EQ(mkfifo("Results.txt", 0600), 0);
    EXPECT_EQ(resultslog::OpenAppendFile("Results.txt"), -1);
}

TEST(ResultsLogFaults, DirectoryInPlaceOfTheFileKeepsEntriesUntilItIsGone) {
    TemporaryWorkingDirectory dir;
    std::filesystem::create_directory("Results.txt");
    {
        ResultsLog log;
        log.Open();
        EXPECT_FALSE(log.IsOpen());
        EXPECT_FALSE(log.Healthy());
        log.WriteStudentHeader("Иванов", "101");
        log.WriteTestResult(7, 10);
        log.Close();
        EXPECT_FALSE(log.Healthy());
        log.Open();
        log.WriteStudentHeader("Петров", "102");
        EXPECT_FALSE(log.Healthy());
        std::filesystem::remove("Results.txt");
        // Program end: the destructor tries the file once more.
    }
    EXPECT_EQ(ReadFileBytes("Results.txt"),
              Cp1251("Иванов\r\n101\r\nПравильных ответов 7 из 10\r\n\r\nПетров\r\n102\r\n"));
}

TEST(ResultsLogFaults, ReadOnlyDirectoryKeepsEntriesForALaterOpen) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root; the directory case covers a failed open";
    TemporaryWorkingDirectory dir;
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    ResultsLog log;
    log.Open();
    EXPECT_FALSE(log.Healthy());
    log.WriteStudentHeader("Иванов", "101");
    log.WriteTestResult(9, 10);
    log.Close();
    EXPECT_FALSE(std::filesystem::exists("Results.txt"));
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
    log.Open();
    EXPECT_TRUE(log.Healthy());
    EXPECT_EQ(ReadFileBytes("Results.txt"), Cp1251("Иванов\r\n101\r\nПравильных ответов 9 из 10\r\n\r\n"));
}

// A full disk, made with a file size limit: room for none of the entry, and
// room for only part of it (a short write).
TEST(ResultsLogFaults, FullDiskLeavesTheFileAsItWasAndAppendsLater) {
    for (const rlim_t room : {rlim_t{0}, rlim_t{7}}) {
        SCOPED_TRACE(room);
        TemporaryWorkingDirectory dir;
        const std::string before = Cp1251("Старая запись\r\n");
        std::ofstream("Results.txt", std::ios::binary) << before;
        const std::string entry = Cp1251("Сидоров Сидор\r\n102\r\nПравильных ответов 8 из 8\r\n\r\n");
        const bool childPassed = RunInChild([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
            const rlimit unlimited = limit;
            limit.rlim_cur = before.size() + room;
            ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);

            ResultsLog log;
            log.Open();
            EXPECT_TRUE(log.Healthy());
            log.WriteStudentHeader("Сидоров Сидор", "102");
            log.WriteTestResult(8, 8);
            log.Close();
            EXPECT_FALSE(log.Healthy());
            EXPECT_EQ(ReadFileBytes("Results.txt"), before);
            log.Open();
            EXPECT_FALSE(log.Healthy());
            EXPECT_EQ(ReadFileBytes("Results.txt"), before);

            ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &unlimited), 0);
            log.Open();
            EXPECT_TRUE(log.Healthy());
            EXPECT_EQ(ReadFileBytes("Results.txt"), before + entry);
            log.Close();
        });
        EXPECT_TRUE(childPassed);
        EXPECT_EQ(ReadFileBytes("Results.txt"), before + entry);
    }
}

}  // namespace
