// What a program has accepted for the log survives the program: kept in a
// locked, synced write-ahead file, taken over by the next program once the
// lock is free.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "log/answers_record.h"
#include "log/results_log.h"
#include "log/write_ahead.h"
#include "tests/support/cp1251_oracle.h"
#include "tests/support/lock_holder.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace std::chrono_literals;
using testsupport::Cp1251;
using testsupport::ReadFileBytes;
using testsupport::TemporaryWorkingDirectory;

// The write-ahead files of "Results.txt" in the working directory, and any
// half-made replacement.
std::vector<std::filesystem::path> WriteAheadFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".Results.txt.")) files.push_back(entry.path());
    }
    return files;
}

bool LockedElsewhere(const std::filesystem::path& path) {
    const int fd = open(path.c_str(), O_RDWR);
    if (fd < 0) return false;
    const bool busy = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return busy;
}

// A child process that runs `act` and then is killed with SIGKILL, or, with
// `stayAlive`, lives on until the object is destroyed.
class OtherProgram {
public:
    OtherProgram(const std::function<void()>& act, bool stayAlive) {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            act();
            if (!stayAlive) raise(SIGKILL);
            const char done = 1;
            if (write(ready[1], &done, 1) != 1) _exit(1);
            pause();
            _exit(0);
        }
        close(ready[1]);
        char done = 0;
        if (stayAlive) {
            static_cast<void>(read(ready[0], &done, 1));
        } else {
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        close(ready[0]);
    }
    ~OtherProgram() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

private:
    pid_t pid_ = -1;
};

TEST(WriteAhead, HoldsExactlyWhatIsKeptUnderItsLockAndGoesWithNothingLeft) {
    TemporaryWorkingDirectory directory;
    resultslog::WriteAhead ahead("Results.txt");
    EXPECT_TRUE(ahead.Holder().empty());
    ASSERT_TRUE(ahead.Keep("header"));
    const std::filesystem::path holder = ahead.Holder();
    const std::string name = holder.filename().string();
    EXPECT_TRUE(name.starts_with(".Results.txt.")) << name;
    EXPECT_TRUE(name.ends_with(".pending")) << name;
    EXPECT_EQ(ReadFileBytes(holder), "header");
    EXPECT_TRUE(LockedElsewhere(holder));

    ASSERT_TRUE(ahead.Keep("header+result"));
    EXPECT_EQ(ahead.Holder(), holder);
    EXPECT_EQ(ReadFileBytes(holder), "header+result");
    EXPECT_TRUE(LockedElsewhere(holder));
    EXPECT_EQ(WriteAheadFiles().size(), 1U);

    ASSERT_TRUE(ahead.Keep(""));
    EXPECT_TRUE(ahead.Holder().empty());
    EXPECT_TRUE(WriteAheadFiles().empty());
}

// Another program's file is taken over only once that program has gone.
struct Owner {
    const char* name;
    bool alive;
    std::string bytes;
    bool adopted;
};

class AdoptOrphansTest : public ::testing::TestWithParam<Owner> {};

TEST_P(AdoptOrphansTest, TakesOverOnlyTheFilesOfProgramsThatHaveGone) {
    TemporaryWorkingDirectory directory;
    const Owner& owner = GetParam();
    OtherProgram other(
        [&] {
            static resultslog::WriteAhead ahead("Results.txt");
            ahead.Keep(owner.bytes);
        },
        owner.alive);
    std::string adopted;
    resultslog::AdoptOrphans("Results.txt", {}, [&](std::string_view bytes) {
        adopted += bytes;
        return true;
    });
    EXPECT_EQ(adopted, owner.adopted ? owner.bytes : "");
    EXPECT_EQ(WriteAheadFiles().size(), owner.adopted ? 0U : 1U);
}

INSTANTIATE_TEST_SUITE_P(Owners, AdoptOrphansTest,
                         ::testing::Values(Owner{"Killed", false, "Иванов\r\n101\r\n", true},
                                           Owner{"StillRunning", true, "Петров\r\n102\r\n", false}),
                         [](const ::testing::TestParamInfo<Owner>& info) { return std::string(info.param.name); });

TEST(WriteAhead, AnotherComputersFileIsLeftToThatComputer) {
    TemporaryWorkingDirectory directory;
    // Unlocked here, as a live program elsewhere in a shared folder looks.
    const std::filesystem::path elsewhere = ".Results.txt.another-computer-42-0badcafe.pending";
    std::ofstream(elsewhere) << "Сидоров\r\n103\r\n";
    bool adopted = false;
    resultslog::AdoptOrphans("Results.txt", {}, [&](std::string_view) { return adopted = true; });
    EXPECT_FALSE(adopted);
    EXPECT_TRUE(std::filesystem::exists(elsewhere));
}

TEST(WriteAhead, OrphansComeOldestFirstAndStayWhenTheyCannotBeTaken) {
    TemporaryWorkingDirectory directory;
    for (const char* bytes : {"first ", "second ", "third "}) {
        OtherProgram other(
            [bytes] {
                static resultslog::WriteAhead ahead("Results.txt");
                ahead.Keep(bytes);
            },
            false);
    }
    // The second program's file is the oldest.
    for (const auto& file : WriteAheadFiles()) {
        const std::string bytes = ReadFileBytes(file);
        const auto age = bytes == "second " ? 3h : bytes == "first " ? 2h : 1h;
        std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() - age);
    }
    std::string refused;
    resultslog::AdoptOrphans("Results.txt", {}, [&](std::string_view bytes) {
        refused += bytes;
        return false;
    });
    EXPECT_EQ(refused, "second first third ");
    EXPECT_EQ(WriteAheadFiles().size(), 3U);
    std::string adopted;
    resultslog::AdoptOrphans("Results.txt", {}, [&](std::string_view bytes) {
        adopted += bytes;
        return true;
    });
    EXPECT_EQ(adopted, "second first third ");
    EXPECT_TRUE(WriteAheadFiles().empty());
}

// The log itself: a program killed (or its computer switched off) after a
// registration was accepted, or while its finished entry waited for a busy
// log, loses nothing; the next program to open the log appends it once.
struct Killed {
    const char* name;
    bool finished;  // the result was given
    bool logBusy;   // another program held the log meanwhile
    const char* inLogAtOnce;
    const char* inLogAfterNextStart;
};

class KilledProgramTest : public ::testing::TestWithParam<Killed> {};

TEST_P(KilledProgramTest, ItsEntryReachesTheLogAtTheNextStartOnce) {
    TemporaryWorkingDirectory directory;
    const Killed& killed = GetParam();
    {
        std::unique_ptr<testsupport::LockHolder> busy;
        if (killed.logBusy) busy = std::make_unique<testsupport::LockHolder>("Results.txt");
        OtherProgram other(
            [&] {
                auto* log = new resultslog::ResultsLog("Results.txt");
                log->Open();
                log->WriteStudentHeader("Иванов", "101");
                if (killed.finished) {
                    log->WriteTestResult(7, 10);
                    log->Close();
                }
            },
            false);
    }
    EXPECT_EQ(ReadFileBytes("Results.txt"), Cp1251(killed.inLogAtOnce));
    {
        resultslog::ResultsLog next("Results.txt");
        next.Open();
        EXPECT_EQ(ReadFileBytes("Results.txt"), Cp1251(killed.inLogAfterNextStart));
    }
    EXPECT_EQ(ReadFileBytes("Results.txt"), Cp1251(killed.inLogAfterNextStart));
    EXPECT_TRUE(WriteAheadFiles().empty());
}

const char* const kHeader = "Иванов\r\n101\r\n";
const char* const kEntry = "Иванов\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(Ways, KilledProgramTest,
                         ::testing::Values(Killed{"DuringTheTest", false, false, "", kHeader},
                                           Killed{"AfterTheResult", true, false, kEntry, kEntry},
                                           Killed{"WhileTheLogWasBusy", true, true, "", kEntry},
                                           Killed{"DuringTheTestWhileTheLogWasBusy", false, true, "", kHeader}),
                         [](const ::testing::TestParamInfo<Killed>& info) { return std::string(info.param.name); });

// The answers record keeps its lines the same way.
TEST(WriteAhead, TheAnswersRecordOfAKilledProgramFollowsToo) {
    TemporaryWorkingDirectory directory;
    {
        testsupport::LockHolder busy("Results.answers.csv");
        OtherProgram other(
            [] {
                auto* record = new resultslog::AnswersRecord("Results.answers.csv");
                record->Begin({"pc01", "1.0", 0x12345678, 1, "Иванов", "101", 11}, 8);
            },
            false);
    }
    EXPECT_EQ(ReadFileBytes("Results.answers.csv"), "");
    resultslog::AnswersRecord next("Results.answers.csv");
    next.File().TakeOverLeftBehind();
    EXPECT_FALSE(next.File().IsOpen());
    const std::string record = ReadFileBytes("Results.answers.csv");
    EXPECT_TRUE(record.starts_with("kalvena-answers-1,start,")) << record;
    EXPECT_NE(record.find(",Иванов,101,11\n"), std::string::npos) << record;
}

}  // namespace
