// A results file in a network folder whose lock refuses reads while the
// test program appends: the viewer waits a little and reads on, and never
// calls the file broken. The refusals are injected at the system calls
// (this program is linked with --wrap=open,--wrap=pread).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>

#include "tests/support/temp_dir.h"
#include "tests/viewer/viewer_test_support.h"
#include "viewer/core/files/log_file.h"

namespace {
int refusalsLeft = 0;  // calls still to refuse; -1 refuses every call
int refusal = 0;       // the errno they fail with

bool Refuse() {
    if (refusalsLeft == 0) return false;
    if (refusalsLeft > 0) --refusalsLeft;
    errno = refusal;
    return true;
}

void RefuseNext(int calls, int error) {
    refusalsLeft = calls;
    refusal = error;
}
}  // namespace

extern "C" {
int __real_open(const char* path, int flags, ...);
ssize_t __real_pread(int fd, void* buffer, size_t size, off_t offset);

int __wrap_open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = (flags & O_CREAT) != 0 ? va_arg(arguments, mode_t) : 0;
    va_end(arguments);
    if (std::string_view(path).ends_with("Results.txt") && Refuse()) return -1;
    return __real_open(path, flags, mode);
}

ssize_t __wrap_pread(int fd, void* buffer, size_t size, off_t offset) {
    if (Refuse()) return -1;
    return __real_pread(fd, buffer, size, offset);
}
}

namespace {

using viewer::LogFile;
using viewertest::FinishTest;

TEST(LockedRead, ARefusalWhileTheWriterHoldsTheLockIsWaitedOut) {
    testsupport::TemporaryWorkingDirectory dir;
    FinishTest("Иванов", "101", 7, 10);
    for (const int error : {EACCES, EAGAIN}) {
        SCOPED_TRACE(error);
        LogFile file("Results.txt");
        RefuseNext(3, error);  // the open, then the reads
        EXPECT_TRUE(file.Refresh().any);
        EXPECT_EQ(file.Problem(), "");
        EXPECT_EQ(file.Reader().Attempts().size(), 1u);
    }
}

TEST(LockedRead, ALockHeldLongerIsReportedAsBusyAndReadOnLater) {
    testsupport::TemporaryWorkingDirectory dir;
    FinishTest("Иванов", "101", 7, 10);
    LogFile file("Results.txt");
    file.Refresh();
    FinishTest("Петров", "102", 8, 8);

    RefuseNext(-1, EACCES);
    file.Refresh();
    EXPECT_EQ(file.Problem(), "файл занят другой программой, чтение повторяется");
    EXPECT_EQ(file.Reader().Attempts().size(), 1u) << "what was read stays";

    RefuseNext(0, 0);
    EXPECT_TRUE(file.Refresh().any);
    EXPECT_EQ(file.Problem(), "");
    EXPECT_EQ(file.Reader().Attempts().size(), 2u);
}

}  // namespace
