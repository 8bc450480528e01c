// A results file in a network folder whose locks fail: an SMB client makes
// another's lock mandatory (EACCES), some mounts refuse locks (ENOLCK,
// EOPNOTSUPP). No entry is lost: the refusal is waited out like a busy
// lock, then the entry goes in whole without the lock and the registration
// window says so. The errors are injected at the system call (this program
// is linked with --wrap=flock).
#include <sys/file.h>

#include <gtest/gtest.h>

#include <cerrno>

#include "log/results_log.h"
#include "screens/log_warning.h"
#include "tests/log/log_test_support.h"
#include "tests/support/temp_dir.h"

namespace {
int refusalsLeft = 0;  // lock calls still to refuse; -1 refuses them all
int refusal = 0;
int lockCalls = 0;
}  // namespace

extern "C" {
int __real_flock(int fd, int operation);

int __wrap_flock(int fd, int operation) {
    if ((operation & LOCK_EX) != 0) {
        ++lockCalls;
        if (refusalsLeft != 0) {
            if (refusalsLeft > 0) --refusalsLeft;
            errno = refusal;
            return -1;
        }
    }
    return __real_flock(fd, operation);
}
}

namespace {

using logtest::Cp1251;
using resultslog::ResultsLog;
using testsupport::ReadFileBytes;

void Refuse(int calls, int error) {
    refusalsLeft = calls;
    refusal = error;
    lockCalls = 0;
}

const std::string kEntry = "Иванов Иван\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n";

void FinishTest(ResultsLog& log) {
    log.Open();
    log.WriteStudentHeader("Иванов Иван", "101");
    log.WriteTestResult(7, 10);
    log.Close();
}

TEST(LockRefusal, ABriefRefusalIsWaitedOutAndTheEntryAppendedLocked) {
    for (const int error : {EACCES, ENOLCK, EOPNOTSUPP}) {
        SCOPED_TRACE(error);
        testsupport::TemporaryWorkingDirectory dir;
        ResultsLog log;
        Refuse(3, error);
        FinishTest(log);
        EXPECT_EQ(ReadFileBytes("Results.txt"), Cp1251(kEntry));
        EXPECT_TRUE(log.Healthy());
        EXPECT_FALSE(log.File().WroteUnlocked());
        EXPECT_EQ(LogWarningText({&log.File()}), "");
    }
}

TEST(LockRefusal, ALastingRefusalAppendsTheEntryWholeWithoutTheLockAndSaysSo) {
    for (const int error : {EACCES, ENOLCK, EOPNOTSUPP}) {
        SCOPED_TRACE(error);
        testsupport::TemporaryWorkingDirectory dir;
        ResultsLog log;
        Refuse(-1, error);
        FinishTest(log);
        EXPECT_GT(lockCalls, 10) << "the refusal was not waited out";
        EXPECT_EQ(ReadFileBytes("Results.txt"), Cp1251(kEntry));
        EXPECT_EQ(log.HeldBack(), resultslog::Holdup::None);
        EXPECT_EQ(LogWarningText({&log.File()}),
                  "Внимание: результат записан в файл Results.txt без блокировки: папка не дает заблокировать файл.");

        Refuse(0, 0);
        FinishTest(log);
        EXPECT_EQ(ReadFileBytes("Results.txt"), Cp1251(kEntry + kEntry));
        EXPECT_EQ(LogWarningText({&log.File()}), "") << "the lock works again";
    }
}

}  // namespace
