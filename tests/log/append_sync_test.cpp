// An append counts as done only once the disk has it: a power cut after the
// results show must not take the entry along. The syncs are observed at the
// system call (this program is linked with --wrap=fsync).
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "log/answers_record.h"
#include "log/results_log.h"
#include "tests/support/lock_holder.h"
#include "tests/support/temp_dir.h"

namespace {

// A sync as it was asked for: which file, and how long it was then.
struct Sync {
    dev_t device;
    ino_t inode;
    off_t size;
};
std::vector<Sync> syncs;

}  // namespace

extern "C" {
int __real_fsync(int fd);

int __wrap_fsync(int fd) {
    struct stat status {};
    if (fstat(fd, &status) == 0) syncs.push_back({status.st_dev, status.st_ino, status.st_size});
    return __real_fsync(fd);
}
}

namespace {

// Whether the file was synced as it stands now, with nothing appended since.
bool SyncedWhole(const char* path) {
    struct stat status {};
    if (stat(path, &status) != 0 || status.st_size == 0) return false;
    for (const Sync& sync : syncs) {
        if (sync.device == status.st_dev && sync.inode == status.st_ino && sync.size == status.st_size) return true;
    }
    return false;
}

resultslog::AttemptFields Fields() { return {"pc12", "1.0", 0x1234abcdU, 42, "Иванов", "101", 11}; }

TEST(AppendSync, EveryAppendIsSyncedBeforeItCounts) {
    struct Case {
        const char* name;
        const char* file;
        std::function<void()> append;
    };
    const Case cases[] = {
        {"the entry as the log closes", "Results.txt",
         [] {
             resultslog::ResultsLog log;
             log.Open();
             log.WriteStudentHeader("Иванов", "101");
             log.WriteTestResult(7, 10);
             log.Close();
         }},
        {"the answers record's start line", "Results.answers.csv",
         [] {
             resultslog::AnswersRecord record("Results.answers.csv");
             record.Begin(Fields(), 8);
         }},
        {"an entry a busy lock held back, on the retry", "Results.txt",
         [] {
             resultslog::ResultsLog log;
             log.Open();
             log.WriteStudentHeader("Иванов", "101");
             {
                 testsupport::LockHolder otherProgram("Results.txt");
                 log.Close();
                 ASSERT_EQ(log.HeldBack(), resultslog::Holdup::LockBusy);
             }
             ASSERT_TRUE(log.AppendHeldBack());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TemporaryWorkingDirectory dir;
        syncs.clear();
        c.append();
        EXPECT_TRUE(SyncedWhole(c.file));
    }
}

}  // namespace
