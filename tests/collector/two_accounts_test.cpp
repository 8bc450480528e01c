// The whole road of protected results as a department runs it: the real
// test program as a student's account, through the real service as an
// account of its own, into a folder only that account may write, read back
// by the real results viewer. Needs root, for the accounts.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "log/cp1251.h"
#include "log/log_entry.h"
#include "tests/collector/service_process.h"
#include "tests/support/temp_dir.h"

namespace {

using collectortest::Fields;
using collectortest::Lines;
using testsupport::ReadFileBytes;

bool RunQuietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

struct Account {
    uid_t uid = 0;
    gid_t gid = 0;
};

Account Lookup(const std::string& name) {
    const passwd* entry = getpwnam(name.c_str());
    return entry == nullptr ? Account{} : Account{entry->pw_uid, entry->pw_gid};
}

// Runs `argv` as the account, its output into `output`; returns the child.
pid_t RunAs(const Account& account, std::vector<std::string> argv, const std::filesystem::path& output) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        if (setgroups(0, nullptr) != 0 || setgid(account.gid) != 0 || setuid(account.uid) != 0) _exit(126);
        setenv("HOME", "/nonexistent", 1);
        setenv("XDG_RUNTIME_DIR", "/tmp", 1);
        std::vector<char*> args;
        for (std::string& argument : argv) args.push_back(argument.data());
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

std::string Output(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
    output += "\nstatus " + std::to_string(pclose(pipe));
    return output;
}

class TwoAccounts : public testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "needs root to create a student's and the service's accounts (useradd)";
        const std::string tag = std::to_string(getpid());
        group_ = "kvres" + tag;
        service_ = "kvcoll" + tag;
        student_ = "kvstud" + tag;
        ASSERT_TRUE(RunQuietly("groupadd " + group_));
        ASSERT_TRUE(RunQuietly("useradd -M -g " + group_ + " -s /usr/sbin/nologin " + service_));
        ASSERT_TRUE(RunQuietly("useradd -M -U -s /usr/sbin/nologin " + student_));
        made_ = true;
    }
    void TearDown() override {
        if (!made_) return;
        RunQuietly("userdel " + student_);
        RunQuietly("userdel " + service_);
        RunQuietly("groupdel " + group_);
    }
    std::string group_, service_, student_;
    bool made_ = false;
};

TEST_F(TwoAccounts, TheProgramThroughTheServiceIntoTheViewer) {
    const std::filesystem::path root = std::filesystem::path("/tmp") / ("kalvena-e2e-" + std::to_string(getpid()));
    std::filesystem::create_directories(root / "run");
    std::filesystem::permissions(root, std::filesystem::perms(0755));
    const Account service = Lookup(service_);
    const Account student = Lookup(student_);
    // The administrator's results root and the service's state, the service's own.
    std::filesystem::create_directories(root / "results");
    std::filesystem::create_directories(root / "state");
    ASSERT_EQ(chown((root / "results").c_str(), service.uid, service.gid), 0);
    ASSERT_EQ(chmod((root / "results").c_str(), 02750), 0);
    ASSERT_EQ(chown((root / "state").c_str(), service.uid, service.gid), 0);
    ASSERT_EQ(chown((root / "run").c_str(), service.uid, service.gid), 0);
    std::ofstream(root / "kalvena.conf") << "results_folder = " << (root / "results/%u").native() << "\n";

    const std::filesystem::path socket = root / "run/collector.sock";
    std::vector<std::string> command{KALVENA_COLLECTOR, "--settings", (root / "kalvena.conf").native(), "--state",
                                     (root / "state").native()};
    const bool activated = std::filesystem::exists("/usr/bin/systemd-socket-activate");
    if (activated) {
        // As systemd would start it: the socket made first, passed as fd 3.
        command.insert(command.begin(), {"/usr/bin/systemd-socket-activate", "-l", socket.native()});
    } else {
        command.insert(command.begin() + 1, {"--socket", socket.native()});
    }
    const pid_t collector = RunAs(service, command, root / "service.txt");
    for (int i = 0; i < 500 && !std::filesystem::exists(socket); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds{10});
    ASSERT_TRUE(std::filesystem::exists(socket));
    // systemd's SocketMode=0666, which systemd-socket-activate lacks.
    chmod(socket.c_str(), 0666);

    EXPECT_EQ(Wait(RunAs(student, {KALVENA_STUDENT_PROGRAM, socket.native(), "whole"}, root / "whole.txt")), 0)
        << ReadFileBytes(root / "whole.txt");
    const int killed = Wait(RunAs(student, {KALVENA_STUDENT_PROGRAM, socket.native(), "killed"}, root / "killed.txt"));
    EXPECT_TRUE(WIFSIGNALED(killed));
    std::this_thread::sleep_for(std::chrono::milliseconds{300});

    const std::string program = ReadFileBytes(root / "whole.txt");
    EXPECT_NE(program.find("refusal: shown"), std::string::npos) << program;
    EXPECT_NE(program.find("warning: none"), std::string::npos) << program;

    const std::filesystem::path folder = root / "results" / student_;
    const std::filesystem::path log = folder / "Results.txt";
    const std::string bytes = ReadFileBytes(log);
    const std::string petrov = resultslog::Utf8ToCp1251("Петров Петр\r\nВЗ-21\r\n");
    ASSERT_TRUE(bytes.starts_with(petrov)) << resultslog::Cp1251ToUtf8(bytes);
    const auto result =
        resultslog::ParseTestResult(resultslog::Cp1251ToUtf8(Lines(log)[2].substr(0, Lines(log)[2].size() - 1)));
    ASSERT_TRUE(result);
    EXPECT_EQ(bytes, petrov + resultslog::TestResultBytes(*result) +
                         resultslog::Utf8ToCp1251("Сидоров Сидор\r\nВЗ-21\r\nКузнецов Кузьма\r\nВЗ-22\r\n"));
    struct stat status {};
    ASSERT_EQ(stat(log.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, service.uid);
    EXPECT_EQ(status.st_mode & 0777, 0640u);

    const auto lines = Lines(folder / "Results.answers.csv");
    ASSERT_EQ(lines.size(), 6u);
    const std::string endings[] = {"finished", "program-end", "abandoned"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto f = Fields(lines[i]);
        EXPECT_EQ(f[0], "kalvena-answers-2");
        EXPECT_EQ(f[10], student_) << "the account from the kernel";
        if (i % 2 == 1) {
            EXPECT_EQ(f[11], endings[i / 2]);
        }
    }
    EXPECT_EQ(Fields(lines[1])[12], std::to_string(result->rightCount));

    // The student can open nothing of it.
    const pid_t reader = fork();
    if (reader == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(student.gid) != 0 || setuid(student.uid) != 0) _exit(126);
        _exit(open(log.c_str(), O_RDONLY) < 0 && open(log.c_str(), O_WRONLY | O_APPEND) < 0 ? 0 : 1);
    }
    EXPECT_EQ(Wait(reader), 0) << "a student opened the results";
    // Nor stop the service.
    const pid_t signaller = fork();
    if (signaller == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(student.gid) != 0 || setuid(student.uid) != 0) _exit(126);
        _exit(kill(collector, SIGSTOP) != 0 ? 0 : 1);
    }
    EXPECT_EQ(Wait(signaller), 0) << "a student signalled the service";

    // The viewer. What it says of the account column and of "abandoned"
    // comes with its reading of kalvena-answers-2.
    const std::string data = (root / "viewer-data").native();
    const std::string viewer = "env -u DISPLAY QT_QPA_PLATFORM=offscreen XDG_DATA_HOME=" + data + " " + KALVENA_RESULTS;
    const std::string items = Output(viewer + " --items " + folder.native() + " 2>&1");
    EXPECT_NE(items.find("status 0"), std::string::npos) << items;
    EXPECT_EQ(items.find("полей вместо"), std::string::npos) << items;
    EXPECT_EQ(items.find("kalvena-answers-2"), std::string::npos) << "no line of the record passed over: " << items;
    EXPECT_NE(items.find("Tq11"), std::string::npos) << "the questions of the test: " << items;
    const std::string verify = Output(viewer + " --verify " + folder.native() + " 2>&1");
    EXPECT_NE(verify.find("status 0"), std::string::npos) << verify;

    kill(collector, SIGTERM);
    Wait(collector);
    std::filesystem::remove_all(root);
}

}  // namespace
