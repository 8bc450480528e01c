// Protected results, as the package sets them up: the results folder is
// root's and a system group's, mode 2770, and a student's entries reach it
// only through the setgid helper. A student account (created here, so the
// test runs only as root) runs the helper and tries the files directly.
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "log/answers_record.h"
#include "log/results_log.h"
#include "tests/support/cp1251_oracle.h"
#include "tests/support/temp_dir.h"

namespace {

using testsupport::Cp1251;
using testsupport::ReadFileBytes;

bool RunQuietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

std::string HostName() {
    char host[HOST_NAME_MAX + 1] = {};
    gethostname(host, sizeof host - 1);
    return host;
}

struct HelperRun {
    int exitCode = -1;
    std::string errors;
};

class ProtectedResults : public testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "needs root to create a student's account and the results group";
        const std::string tag = std::to_string(getpid());
        group_ = "kvprot" + tag;
        student_ = "kvstudent" + tag;
        ASSERT_TRUE(RunQuietly("groupadd " + group_));
        groupMade_ = true;
        ASSERT_TRUE(RunQuietly("useradd -M -U -s /usr/sbin/nologin " + student_));
        studentMade_ = true;
        const gid_t gid = getgrnam(group_.c_str())->gr_gid;

        ASSERT_EQ(chmod(dir_.Path().c_str(), 0755), 0);
        helper_ = dir_.Path() / "kalvena-append";
        std::filesystem::copy_file(KALVENA_APPEND_HELPER, helper_);
        ASSERT_EQ(chown(helper_.c_str(), 0, gid), 0);
        ASSERT_EQ(chmod(helper_.c_str(), 02755), 0);
        const std::filesystem::path results = dir_.Path() / "results";
        std::filesystem::create_directory(results);
        ASSERT_EQ(chown(results.c_str(), 0, gid), 0);
        ASSERT_EQ(chmod(results.c_str(), 02770), 0);
        std::ofstream(KALVENA_APPEND_SETTINGS) << "results_folder = " << results.native() << "/%h\n";
        folder_ = results / HostName();
        if (AsStudent([] { return access(KALVENA_APPEND_SETTINGS, R_OK); }) != 0)
            GTEST_SKIP() << "the student's account cannot reach the build folder's settings file";
    }

    void TearDown() override {
        if (studentMade_) RunQuietly("userdel " + student_);
        if (groupMade_) RunQuietly("groupdel " + group_);
    }

    // The body's result, run in a child as the student (no extra groups).
    template <typename Body>
    int AsStudent(Body body) {
        const pid_t pid = fork();
        if (pid == 0) {
            const passwd* account = getpwnam(student_.c_str());
            if (account == nullptr || setgroups(0, nullptr) != 0 || setgid(account->pw_gid) != 0 ||
                setuid(account->pw_uid) != 0)
                _exit(100);
            _exit(body());
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The student's program hands `bytes` to the helper; with `dieMidway`
    // it is killed after writing half of them.
    HelperRun Hand(const char* kind, const std::string& bytes, bool dieMidway = false) {
        int input[2];
        int errors[2];
        if (pipe(input) != 0 || pipe(errors) != 0) return {};
        const pid_t helper = fork();
        if (helper == 0) {
            dup2(input[0], STDIN_FILENO);
            dup2(errors[1], STDERR_FILENO);
            close(input[1]);
            close(errors[0]);
            const passwd* account = getpwnam(student_.c_str());
            if (account == nullptr || setgroups(0, nullptr) != 0 || setgid(account->pw_gid) != 0 ||
                setuid(account->pw_uid) != 0)
                _exit(100);
            execl(helper_.c_str(), "kalvena-append", kind, static_cast<char*>(nullptr));
            _exit(101);
        }
        close(input[0]);
        close(errors[1]);
        const pid_t program = fork();
        if (program == 0) {
            const std::size_t size = dieMidway ? bytes.size() / 2 : bytes.size();
            if (write(input[1], bytes.data(), size) < 0) _exit(1);
            if (dieMidway) raise(SIGKILL);
            _exit(0);
        }
        close(input[1]);
        waitpid(program, nullptr, 0);
        HelperRun run;
        char buffer[512];
        for (ssize_t got; (got = read(errors[0], buffer, sizeof buffer)) > 0;) run.errors.append(buffer, got);
        close(errors[0]);
        int status = 0;
        waitpid(helper, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }

    testsupport::TemporaryWorkingDirectory dir_;
    std::filesystem::path helper_;
    std::filesystem::path folder_;
    std::string group_;
    std::string student_;

private:
    bool groupMade_ = false;
    bool studentMade_ = false;
};

const std::string kEntry = Cp1251("Иванов Иван Иванович\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n");
const std::string kStart =
    "kalvena-answers-1,start,2026-12-08T09:15:02+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,Иванов,101,1\n";

TEST_F(ProtectedResults, AStudentAddsEntriesThroughTheHelperAndCannotTouchTheFiles) {
    ASSERT_EQ(Hand("log", kEntry).exitCode, 0);
    ASSERT_EQ(Hand("answers", kStart).exitCode, 0);
    const std::filesystem::path log = folder_ / "Results.txt";
    const std::filesystem::path answers = folder_ / "Results.answers.csv";
    EXPECT_EQ(ReadFileBytes(log), kEntry);
    EXPECT_EQ(ReadFileBytes(answers), kStart.substr(0, kStart.size() - 1) + "," + student_ + "\n")
        << "the account comes from the kernel";

    struct stat status {};
    ASSERT_EQ(stat(log.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0660u);
    EXPECT_EQ(status.st_gid, getgrnam(group_.c_str())->gr_gid);

    const std::string path = log.native();
    EXPECT_NE(AsStudent([&] { return open(path.c_str(), O_WRONLY | O_APPEND) >= 0 ? 0 : 1; }), 0) << "appended";
    EXPECT_NE(AsStudent([&] { return open(path.c_str(), O_RDONLY) >= 0 ? 0 : 1; }), 0) << "read others' results";
    EXPECT_NE(AsStudent([&] { return truncate(path.c_str(), 0); }), 0) << "truncated";
    EXPECT_NE(AsStudent([&] { return unlink(path.c_str()); }), 0) << "deleted";
    EXPECT_EQ(ReadFileBytes(log), kEntry);
}

TEST_F(ProtectedResults, WhatIsNotOneWholeEntryIsRefusedAndLeavesTheFileAsItWas) {
    ASSERT_EQ(Hand("log", kEntry).exitCode, 0);
    const HelperRun forged = Hand("log", kEntry + kEntry);
    EXPECT_EQ(forged.exitCode, 1);
    EXPECT_EQ(forged.errors, "kalvena-append: refused: not one entry: a header, a result, or both\n");
    const HelperRun oversized = Hand("log", std::string(20000, 'A'));
    EXPECT_EQ(oversized.exitCode, 1);
    EXPECT_EQ(oversized.errors, "kalvena-append: the entry is longer than 16384 bytes\n");
    EXPECT_EQ(Hand("log", kEntry, true).exitCode, 1) << "a program killed mid-entry";
    EXPECT_EQ(Hand("answers", kStart, true).exitCode, 1);
    EXPECT_EQ(Hand("write", kEntry).exitCode, 2);
    EXPECT_EQ(ReadFileBytes(folder_ / "Results.txt"), kEntry);
}

// The test program itself, run as the student with protected results on.
TEST_F(ProtectedResults, TheProgramHandsEveryEntryToTheHelper) {
    const std::filesystem::path log = folder_ / "Results.txt";
    const std::filesystem::path answers = folder_ / "Results.answers.csv";
    const std::string helper = helper_.native();
    EXPECT_EQ(AsStudent([&] {
                  resultslog::ResultsLog results(log);
                  resultslog::AnswersRecord record(answers);
                  results.File().HandOverTo(helper, "log");
                  record.File().HandOverTo(helper, "answers");
                  results.Open();
                  results.WriteStudentHeader("Иванов Иван Иванович", "101");
                  record.Begin({"pc12", "1.0", 0x3fa85f64, 0x9c1e4b7a2d3f6e80, "Иванов Иван Иванович", "101", 1}, 10);
                  results.WriteTestResult(7, 10);
                  results.Close();
                  return results.HeldBack() == resultslog::Holdup::None && record.HeldBack() == resultslog::Holdup::None
                             ? 0
                             : 1;
              }),
              0);
    EXPECT_EQ(ReadFileBytes(log), kEntry);
    const std::string lines = ReadFileBytes(answers);
    EXPECT_NE(lines.find(",start,"), std::string::npos) << lines;
    EXPECT_NE(lines.find(",Иванов Иван Иванович,101,1," + student_ + "\n"), std::string::npos) << lines;
}

}  // namespace
