// Two students' accounts taking turns on one computer, both logging into a
// class's shared setgid folder, as the administrator sets it up: a group,
// the folder group-writable with the setgid bit, the students in the group.
// Each student's program is a child process running as that account with
// the usual umask 022.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "log/results_log.h"
#include "tests/log/log_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

using logtest::Cp1251;
using resultslog::ResultsLog;
using testsupport::ReadFileBytes;
using testsupport::TemporaryWorkingDirectory;

bool RunQuietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// Throwaway accounts and their class group, removed again at the end.
class ClassAccounts : public testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "needs root to create two students' accounts (useradd, groupadd)";
        const std::string tag = std::to_string(getpid());
        group_ = "kvclass" + tag;
        students_ = {"kvstudenta" + tag, "kvstudentb" + tag};
        ASSERT_TRUE(RunQuietly("groupadd " + group_));
        groupCreated_ = true;
        for (const std::string& student : students_) {
            ASSERT_TRUE(RunQuietly("useradd -M -U -s /usr/sbin/nologin -G " + group_ + " " + student));
            created_.push_back(student);
        }
    }

    void TearDown() override {
        for (const std::string& student : created_) RunQuietly("userdel " + student);
        if (groupCreated_) RunQuietly("groupdel " + group_);
    }

    // The administrator's folder: root's, the class's group, mode 2775.
    std::filesystem::path MakeClassFolder(const std::filesystem::path& parent) {
        const std::filesystem::path folder = parent / "class";
        std::filesystem::create_directory(folder);
        const group* entry = getgrnam(group_.c_str());
        EXPECT_NE(entry, nullptr);
        if (entry == nullptr) return folder;
        EXPECT_EQ(chown(folder.c_str(), 0, entry->gr_gid), 0);
        EXPECT_EQ(chmod(folder.c_str(), 02775), 0);
        // The students reach it through the test's own folder.
        EXPECT_EQ(chmod(parent.c_str(), 0755), 0);
        return folder;
    }

    // One student's program: a whole test logged as account `student`.
    // True when the entry is in the file, none of it held back.
    static bool FinishTest(const std::string& student, const std::filesystem::path& logPath, const char* fullName) {
        const pid_t pid = fork();
        if (pid == 0) {
            const passwd* account = getpwnam(student.c_str());
            if (account == nullptr || initgroups(student.c_str(), account->pw_gid) != 0 ||
                setgid(account->pw_gid) != 0 || setuid(account->pw_uid) != 0)
                _exit(2);
            umask(022);
            bool whole = false;
            {
                ResultsLog log(logPath);
                log.Open();
                log.WriteStudentHeader(fullName, "101");
                log.WriteTestResult(7, 10);
                log.Close();
                whole = log.Healthy() && log.HeldBack() == ResultsLog::Holdup::None;
            }
            _exit(whole ? 0 : 1);
        }
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid) return false;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    std::string group_;
    std::vector<std::string> students_;

private:
    std::vector<std::string> created_;
    bool groupCreated_ = false;
};

TEST_F(ClassAccounts, BothStudentsLogIntoTheSharedFolderAlsoAfterTheLogWasCollected) {
    TemporaryWorkingDirectory dir;
    const std::filesystem::path folder = MakeClassFolder(dir.Path());
    const std::filesystem::path log = folder / "Results.txt";
    const std::string first = "Иванов Иван Иванович\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n";
    const std::string second = "Петров Петр Петрович\r\n101\r\nПравильных ответов 7 из 10\r\n\r\n";

    EXPECT_TRUE(FinishTest(students_[0], log, "Иванов Иван Иванович"));
    EXPECT_TRUE(FinishTest(students_[1], log, "Петров Петр Петрович")) << "the second student's entry was not logged";
    EXPECT_EQ(ReadFileBytes(log), Cp1251(first + second));

    // The instructor collects the log; the second student's program makes
    // the next one, and the first student appends to it.
    std::filesystem::rename(log, dir.Path() / "collected.txt");
    EXPECT_TRUE(FinishTest(students_[1], log, "Петров Петр Петрович"));
    EXPECT_TRUE(FinishTest(students_[0], log, "Иванов Иван Иванович")) << "the first student's entry was not logged";
    EXPECT_EQ(ReadFileBytes(log), Cp1251(second + first));
    EXPECT_EQ(ReadFileBytes(dir.Path() / "collected.txt"), Cp1251(first + second));

    struct stat status {};
    ASSERT_EQ(stat(log.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0664u);
    EXPECT_EQ(status.st_gid, getgrnam(group_.c_str())->gr_gid) << "the setgid folder gives the file the class's group";
}

}  // namespace
