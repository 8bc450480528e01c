#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "log/results_log.h"
#include "tests/log/log_test_support.h"
#include "tests/support/cp1251_oracle.h"
#include "tests/support/lock_holder.h"
#include "tests/support/temp_dir.h"

namespace {

using resultslog::ResultsLog;
using testsupport::Cp1251;
using testsupport::LockHolder;
using testsupport::ReadFileBytes;
using testsupport::TemporaryWorkingDirectory;
using testsupport::Utf8FromCp1251;

struct Entry {
    int writer;
    int number;
};

void WriteEntry(ResultsLog& log, int writer, int number) {
    const std::string id = std::to_string(writer) + " запись " + std::to_string(number);
    log.WriteStudentHeader("Курсант " + id, "взвод " + id);
    log.WriteTestResult(number % 11, 10);
}

// Splits bytes into entries written by WriteEntry; any line that is not one
// of those lines, or bytes that end inside an entry, fail the test. With
// `headersAlone`, a header without its result is an entry too: the test a
// kill cut off, appended from its write-ahead file by the next writer.
std::vector<Entry> ParseEntries(std::string_view bytes, bool headersAlone = false) {
    std::vector<Entry> entries;
    const std::string text = Utf8FromCp1251(bytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "the file ends inside a line";
    if (!headersAlone) {
        EXPECT_EQ(lines.size() % 4, 0u) << "the file ends inside an entry";
    }
    std::size_t i = 0;
    while (i < lines.size()) {
        Entry entry{-1, -1};
        std::sscanf(lines[i].c_str(), "Курсант %d запись %d", &entry.writer, &entry.number);
        const std::string id = std::to_string(entry.writer) + " запись " + std::to_string(entry.number);
        const bool header = i + 1 < lines.size() && lines[i] == "Курсант " + id && lines[i + 1] == "взвод " + id;
        const bool result = i + 3 < lines.size() &&
                            lines[i + 2] == "Правильных ответов " + std::to_string(entry.number % 11) + " из 10" &&
                            lines[i + 3].empty();
        if (!header || (!result && !headersAlone)) {
            ADD_FAILURE() << "torn or foreign line in the entry at line " << i << ": " << lines[i];
            break;
        }
        entries.push_back(entry);
        i += result ? 4 : 2;
    }
    return entries;
}

// The file as a writer that honours the lock sees it: an append still in
// flight is waited for.
std::string ReadLockedFile(const char* path) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return "";
    flock(fd, LOCK_EX);
    std::string bytes = ReadFileBytes(path);
    close(fd);
    return bytes;
}

TEST(ResultsLogProcesses, ConcurrentAppendersNeitherInterleaveNorLoseEntries) {
    constexpr int kWriters = 8;
    constexpr int kEntries = 200;
    TemporaryWorkingDirectory dir;
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ResultsLog log;
            for (int number = 0; number < kEntries; ++number) {
                log.Open();
                WriteEntry(log, writer, number);
                log.Close();
            }
            // Under this much contention a close may find the lock taken for
            // longer than it waits; the entries then stay pending, and a
            // later close appends them.
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (!log.Healthy() && std::chrono::steady_clock::now() < deadline) log.Close();
            _exit(log.Healthy() ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::map<int, std::set<int>> seen;
    const auto entries = ParseEntries(ReadFileBytes("Results.txt"));
    EXPECT_EQ(entries.size(), std::size_t{kWriters * kEntries});
    for (const Entry& entry : entries) {
        EXPECT_TRUE(seen[entry.writer].insert(entry.number).second) << "duplicate entry";
    }
    for (int writer = 0; writer < kWriters; ++writer) EXPECT_EQ(seen[writer].size(), std::size_t{kEntries});
}

// Another program holding the lock makes the close give up soon, keeping
// the entry, which the next flush appends whole once the lock is free.
// Whether another process gets the file's lock without waiting.
bool AnotherProcessLocksAtOnce(const char* path) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        const int fd = open(path, O_WRONLY | O_APPEND | O_CLOEXEC);
        _exit(fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
    }
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(ResultsLogProcesses, TheLockIsHeldOnlyForTheAppend) {
    TemporaryWorkingDirectory dir;
    ResultsLog log;
    log.Open();
    EXPECT_TRUE(AnotherProcessLocksAtOnce("Results.txt"));
    WriteEntry(log, 1, 3);
    // Pending bytes go out as the log opens again; the file stays open for
    // the next student, and other copies of the program must not wait for
    // that student to finish.
    log.Open();
    ASSERT_EQ(ParseEntries(ReadFileBytes("Results.txt")).size(), 1u);
    EXPECT_TRUE(AnotherProcessLocksAtOnce("Results.txt"));
    WriteEntry(log, 1, 4);
    log.Close();
    log.Open();
    ASSERT_EQ(ParseEntries(ReadFileBytes("Results.txt")).size(), 2u);
    EXPECT_TRUE(AnotherProcessLocksAtOnce("Results.txt"));
}

TEST(ResultsLogProcesses, ALockHeldBrieflyElsewhereIsWaitedFor) {
    TemporaryWorkingDirectory dir;
    ResultsLog log;
    log.Open();
    WriteEntry(log, 1, 5);
    // Another copy of the program appending its own entry.
    LockHolder otherProgram("Results.txt", std::chrono::milliseconds{50});
    log.Close();
    EXPECT_TRUE(log.Healthy()) << "the warning shows for a lock that was free moments later";
    const auto entries = ParseEntries(ReadFileBytes("Results.txt"));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].number, 5);
}

TEST(ResultsLogProcesses, ALockHeldElsewhereDelaysTheEntryWithoutFreezing) {
    TemporaryWorkingDirectory dir;
    ResultsLog log;
    log.Open();
    WriteEntry(log, 1, 7);
    {
        LockHolder otherProgram("Results.txt");
        const auto start = std::chrono::steady_clock::now();
        log.Close();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
        EXPECT_FALSE(log.Healthy());
        log.Open();
        EXPECT_FALSE(log.Healthy());
        EXPECT_EQ(ReadFileBytes("Results.txt"), "");
    }
    log.Open();
    EXPECT_TRUE(log.Healthy());
    const auto entries = ParseEntries(ReadFileBytes("Results.txt"));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].number, 7);
}

// What a busy lock held back goes out on a retry once the lock is free,
// whether the log has been opened again for the next student or not. A
// retry never waits for the lock, and leaves the entry of the student now
// taking a test pending, so that entry still goes out in one piece.
TEST(ResultsLogProcesses, ARetryAppendsWhatWasHeldBackOnceTheLockIsFree) {
    for (const bool reopened : {false, true}) {
        SCOPED_TRACE(reopened ? "opened again, next student registered" : "left closed");
        TemporaryWorkingDirectory dir;
        ResultsLog log;
        log.Open();
        log.WriteStudentHeader("Иванов", "101");
        log.WriteTestResult(6, 10);
        LockHolder otherProgram("Results.txt");
        log.Close();
        if (reopened) {
            log.Open();
            log.WriteStudentHeader("Петров", "102");
        }
        EXPECT_EQ(log.HeldBack(), ResultsLog::Holdup::LockBusy);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(log.AppendHeldBack());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
        EXPECT_FALSE(log.Healthy());
        EXPECT_EQ(ReadFileBytes("Results.txt"), "");

        otherProgram.Release();
        EXPECT_TRUE(log.AppendHeldBack());
        EXPECT_EQ(ReadFileBytes("Results.txt"), Cp1251("Иванов\r\n101\r\nПравильных ответов 6 из 10\r\n\r\n"));
        EXPECT_TRUE(log.Healthy());
        EXPECT_EQ(log.HeldBack(), ResultsLog::Holdup::None);
        EXPECT_EQ(log.IsOpen(), reopened);
        EXPECT_TRUE(log.AppendHeldBack()) << "nothing left to append";
        EXPECT_EQ(ReadFileBytes("Results.txt"), Cp1251("Иванов\r\n101\r\nПравильных ответов 6 из 10\r\n\r\n"));
        if (reopened) {
            log.WriteTestResult(9, 10);
            log.Close();
            EXPECT_EQ(ReadFileBytes("Results.txt"), Cp1251("Иванов\r\n101\r\nПравильных ответов 6 из 10\r\n\r\n"
                                                           "Петров\r\n102\r\nПравильных ответов 9 из 10\r\n\r\n"));
        }
    }
}

// The end of the program waits a little for a busy lock, since nothing will
// try again: a lock let go half a second later still gets the entry into
// the file. A lock that stays held ends the wait within two seconds, and
// the entry goes to standard error instead.
TEST(ResultsLogProcesses, TheEndWaitsBrieflyForABusyLock) {
    struct Case {
        const char* name;
        std::chrono::milliseconds held;
        bool inFile;
    };
    for (const Case& each : {Case{"let go soon", std::chrono::milliseconds{500}, true},
                             Case{"kept", std::chrono::milliseconds::max(), false}}) {
        SCOPED_TRACE(each.name);
        TemporaryWorkingDirectory dir;
        const std::string entry = Cp1251("Иванов\r\n101\r\nПравильных ответов 6 из 10\r\n\r\n");
        const bool childPassed = logtest::RunInChild([&] {
            const int errors = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            ASSERT_GE(errors, 0);
            dup2(errors, STDERR_FILENO);
            LockHolder otherProgram("Results.txt", each.held);
            const auto start = std::chrono::steady_clock::now();
            {
                ResultsLog log;
                log.WriteStudentHeader("Иванов", "101");
                log.WriteTestResult(6, 10);
            }
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
            EXPECT_EQ(ReadFileBytes("Results.txt"), each.inFile ? entry : "");
        });
        EXPECT_TRUE(childPassed);
        const bool onStandardError =
            ReadFileBytes("stderr.txt").find("Иванов\n101\nПравильных ответов 6 из 10\n") != std::string::npos;
        EXPECT_EQ(onStandardError, !each.inFile);
    }
}

// A writer killed at any moment leaves only whole entries: each run's
// entries are its first ones in order, with nothing torn in between.
TEST(ResultsLogProcesses, KilledWriterNeverLeavesATornLine) {
    constexpr int kKills = 300;
    TemporaryWorkingDirectory dir;
    // An append helper orphaned by a kill comes back to us to be reaped.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delayMicroseconds(1000, 5000);
    std::size_t checked = 0;  // the file only grows, so each check reads what is new
    std::map<int, int> nextNumber;
    for (int run = 0; run < kKills; ++run) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // Batches of up to 400 entries make appends over several pages,
            // where a kill could cut a plain write() short.
            std::mt19937 batches(static_cast<unsigned>(run));
            ResultsLog log;
            for (int number = 0;;) {
                log.Open();
                for (int n = batches() % 400 + 1; n > 0; --n) WriteEntry(log, run, number++);
                log.Close();
            }
        }
        usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        kill(pid, SIGKILL);
        ASSERT_EQ(waitpid(pid, nullptr, 0), pid);
        while (waitpid(-1, nullptr, WNOHANG) > 0) {
        }

        const std::string bytes = ReadLockedFile("Results.txt");
        ASSERT_GE(bytes.size(), checked);
        for (const Entry& entry : ParseEntries(std::string_view(bytes).substr(checked), true)) {
            // None lost or reordered. A kill between an append and the
            // write-ahead file's update has the next writer append the
            // entries again: repeated, never missing.
            int& next = nextNumber[entry.writer];
            ASSERT_LE(entry.number, next) << "entries of run " << entry.writer << " lost or out of order";
            next = std::max(next, entry.number + 1);
        }
        checked = bytes.size();
        ASSERT_FALSE(::testing::Test::HasFailure()) << "after kill " << run;
    }
    while (waitpid(-1, nullptr, 0) > 0) {
    }
    prctl(PR_SET_CHILD_SUBREAPER, 0);
}

}  // namespace
