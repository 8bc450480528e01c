// Every end of the program that can be caught, tried on the real program:
// a child process runs the start-up function (with its own Qt application
// object), a student registers through the real windows offscreen, and the
// program is then ended one way or another.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <pwd.h>

#include <QCoreApplication>
#include <QLabel>
#include <QMetaObject>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "program/program.h"
#include "tests/support/answers_check.h"
#include "tests/support/lock_holder.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const char* const kHeader = "Петров Петр Петрович\r\n101\r\n";
// The same student with the test done: theme 11, no question answered.
const char* const kWholeEntry = "Петров Петр Петрович\r\n101\r\nПравильных ответов 0 из 8\r\n\r\n";

// The child: what the student does once the program runs, and how the
// program ends, by the name given on the command line.
std::string childEnd;

void ActAsStudent() {
    // The driver clicks faster than any student; no click of it is stray.
    testsupport::UseSteppingInputClock();
    // The parent reads the notices the student would see.
    app::App().SetNoticeDisplay(
        [](const QString& message) { std::fprintf(stderr, "notice: %s\n", message.toUtf8().constData()); });
    // For the parent, which cannot see the window.
    if (Kalvena->LogWarning->isVisible()) std::fputs("log warning shown\n", stderr);
    if (childEnd == "exit-at-start") return QTest::mouseClick(Kalvena->exit, Qt::LeftButton);
    if (childEnd == "close-box-at-start") return static_cast<void>(Kalvena->close());
    driver::Register(QString::fromUtf8("Петров Петр Петрович"), QStringLiteral("101"));
    if (childEnd == "theme-exit") return QTest::mouseClick(Themes->exit, Qt::LeftButton);
    if (childEnd.starts_with("results")) {
        driver::ChooseTheme(11);
        while (driver::QuestionOnScreen() != nullptr) driver::Answer(0);
    }
    if (childEnd.starts_with("question")) {
        driver::ChooseTheme(11);
        driver::Answer(2);
    }
    // As Qt does when the connection to the X server breaks.
    if (childEnd == "exit" || childEnd == "results-exit" || childEnd == "question-exit") std::exit(1);
    // Waits on the theme choice window, or the results, for the parent to
    // end it.
    const char ready[] = "ready\n";
    if (write(STDOUT_FILENO, ready, sizeof ready - 1) < 0) std::abort();
}

// Runs inside the start-up function, as Qt's application object is made.
void PlanStudent() {
    if (!childEnd.empty()) QMetaObject::invokeMethod(QCoreApplication::instance(), ActAsStudent, Qt::QueuedConnection);
}
Q_COREAPP_STARTUP_FUNCTION(PlanStudent)

// The parent.
std::filesystem::path self;

struct Child {
    pid_t pid = -1;
    int output = -1;  // the child's standard output
};

// Starts the program in the working directory, its standard error going
// to "stderr.txt" there; offscreen, or on the X server of `display`.
Child StartProgram(const std::string& end, const std::string& display = "") {
    int output[2];
    if (pipe(output) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(output[1], STDOUT_FILENO);
        const int errors = open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(errors, STDERR_FILENO);
        if (display.empty()) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        } else {
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            setenv("DISPLAY", display.c_str(), 1);
        }
        const rlimit noCoreFile{0, 0};  // SIGQUIT would leave one
        setrlimit(RLIMIT_CORE, &noCoreFile);
        execl(self.c_str(), self.c_str(), "--end", end.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(output[1]);
    return {pid, output[0]};
}

bool WaitForReady(const Child& child) {
    std::string seen;
    const auto deadline = Clock::now() + 60s;
    while (seen.find("ready\n") == std::string::npos && Clock::now() < deadline) {
        pollfd readable{child.output, POLLIN, 0};
        if (poll(&readable, 1, 100) <= 0) continue;
        char buffer[64];
        const ssize_t got = read(child.output, buffer, sizeof buffer);
        if (got <= 0) return false;
        seen.append(buffer, static_cast<std::size_t>(got));
    }
    return seen.find("ready\n") != std::string::npos;
}

// The child's wait status; a child that does not end is killed.
int WaitForEnd(Child& child) {
    int status = 0;
    const auto deadline = Clock::now() + 60s;
    while (waitpid(child.pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            ADD_FAILURE() << "the program did not end";
            kill(child.pid, SIGKILL);
        }
        usleep(1000);
    }
    close(child.output);
    return status;
}

// An X server of our own (Xvfb), so that a test can stop it under the
// program as the end of a session does.
class XServer {
public:
    XServer() {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            const std::string readyFd = std::to_string(ready[1]);
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
            execlp("Xvfb", "Xvfb", "-displayfd", readyFd.c_str(), "-nolisten", "tcp", "-screen", "0", "1024x768x24",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        // Xvfb writes its display number once it takes connections.
        std::string number;
        pollfd readable{ready[0], POLLIN, 0};
        char c;
        while (poll(&readable, 1, 30000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
        close(ready[0]);
        if (!number.empty()) display_ = ":" + number;
    }
    ~XServer() { Stop(); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    const std::string& Display() const { return display_; }
    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    std::string display_;
};

struct End {
    const char* name;
    const char* childEnd;
    int signal;    // that the parent sends once the student has registered
    int exitCode;  // otherwise
    const char* log;
    // The test's ending in the answers record; empty when no test began.
    const char* ending = "";
    std::vector<std::string> chosen = {};
};

class ProgramEndTest : public ::testing::TestWithParam<End> {};

TEST_P(ProgramEndTest, LeavesTheHeaderWholeAndOnce) {
    const End& end = GetParam();
    testsupport::TemporaryWorkingDirectory directory;
    Child child = StartProgram(end.childEnd);
    ASSERT_GT(child.pid, 0);
    if (end.signal != 0) {
        ASSERT_TRUE(WaitForReady(child));
        kill(child.pid, end.signal);
    }
    const int status = WaitForEnd(child);
    if (end.signal != 0) {
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == end.signal) << "status " << status;
    } else {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == end.exitCode) << "status " << status;
    }
    EXPECT_TRUE(std::filesystem::exists("Results.txt"));
    EXPECT_EQ(testsupport::ReadFileBytes("Results.txt"), driver::Cp1251(end.log));
    if (*end.ending == '\0') {
        answerscheck::ExpectNoAttempt();
    } else {
        answerscheck::ExpectThemeElevenAttempt(end.ending, end.chosen);
    }
}

const std::vector<std::string> kNoneChosen(8, "");

INSTANTIATE_TEST_SUITE_P(
    Ways, ProgramEndTest,
    ::testing::Values(End{"ExitRightAfterStartUp", "exit-at-start", 0, 0, ""},
                      End{"CloseBoxRightAfterStartUp", "close-box-at-start", 0, 0, ""},
                      End{"ExitFromTheThemeChoice", "theme-exit", 0, 0, kHeader},
                      End{"ExitCallFromAnywhere", "exit", 0, 1, kHeader}, End{"Sigterm", "wait", SIGTERM, 0, kHeader},
                      End{"Sighup", "wait", SIGHUP, 0, kHeader}, End{"Sigint", "wait", SIGINT, 0, kHeader},
                      End{"Sigquit", "wait", SIGQUIT, 0, kHeader},
                      // Any other signal that would end the program ends it
                      // the same orderly way.
                      End{"Sigusr1", "wait", SIGUSR1, 0, kHeader}, End{"Sigalrm", "wait", SIGALRM, 0, kHeader},
                      // The test is done once the results show: ended
                      // there, it is logged as "OK" would have.
                      End{"SigtermOnTheResults", "results-wait", SIGTERM, 0, kWholeEntry, "finished", kNoneChosen},
                      End{"SighupOnTheResults", "results-wait", SIGHUP, 0, kWholeEntry, "finished", kNoneChosen},
                      End{"ExitCallOnTheResults", "results-exit", 0, 1, kWholeEntry, "finished", kNoneChosen},
                      // Ended on the second question, the first answered with 2.
                      End{"SigtermDuringAQuestion", "question-wait", SIGTERM, 0, kHeader, "program-end", {"2", ""}},
                      End{"ExitCallDuringAQuestion", "question-exit", 0, 1, kHeader, "program-end", {"2", ""}}),
    [](const ::testing::TestParamInfo<End>& info) { return std::string(info.param.name); });

// Each bad line of the administrator's settings is reported once, and the
// log goes to the folder they name, made with its parents.
TEST(ProgramSettings, TheLogGoesToTheConfiguredFolder) {
    testsupport::TemporaryWorkingDirectory directory;
    std::ofstream("kalvena.conf") << "# the class's folder\nresults_folder = class/%u/%%\nresults_dir = elsewhere\n";
    Child child = StartProgram("theme-exit");
    ASSERT_GT(child.pid, 0);
    const int status = WaitForEnd(child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    const std::string user = getpwuid(getuid())->pw_name;
    EXPECT_EQ(testsupport::ReadFileBytes("class/" + user + "/%/Results.txt"), driver::Cp1251(kHeader));
    EXPECT_FALSE(std::filesystem::exists("Results.txt"));
    const std::string errors = testsupport::ReadFileBytes("stderr.txt");
    const std::string report = "Калвена: kalvena.conf:3: неизвестный параметр \"results_dir\", строка не учтена\n";
    EXPECT_NE(errors.find(report), std::string::npos) << errors;
    EXPECT_EQ(errors.find(report), errors.rfind(report)) << "reported more than once";
    EXPECT_EQ(errors.find("log warning shown"), std::string::npos);
}

// A folder that cannot be made warns as an unwritable log does; the test
// goes on and the entry ends up on standard error.
TEST(ProgramSettings, AnUnusableFolderWarnsAndTheTestGoesOn) {
    testsupport::TemporaryWorkingDirectory directory;
    std::ofstream("taken") << "a file where the folder would be";
    std::ofstream("kalvena.conf") << "results_folder = taken/%h\n";
    Child child = StartProgram("theme-exit");
    ASSERT_GT(child.pid, 0);
    const int status = WaitForEnd(child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    const std::string errors = testsupport::ReadFileBytes("stderr.txt");
    EXPECT_NE(errors.find("log warning shown\n"), std::string::npos) << errors;
    EXPECT_NE(errors.find("Петров Петр Петрович\n101\n"), std::string::npos) << errors;
    // «Выход» showed the lines, which nothing could keep.
    EXPECT_NE(errors.find("notice: Запись в файл Results.txt не сделана"), std::string::npos) << errors;
    EXPECT_NE(errors.find("преподавателю:\nПетров Петр Петрович\n101\n"), std::string::npos) << errors;
}

// The X server goes away under the program (a session that ends, a
// display that is stopped): Qt ends the process with exit(1) from inside
// its event handling, and the entry so far is in the log. A write to the
// dead connection raises SIGPIPE, which must not kill the program first.
struct LostDisplay {
    const char* name;
    const char* childEnd;
    const char* log;
};

class TheXServerGoingAwayTest : public ::testing::TestWithParam<LostDisplay> {};

TEST_P(TheXServerGoingAwayTest, KeepsTheEntry) {
    testsupport::TemporaryWorkingDirectory directory;
    XServer server;
    ASSERT_FALSE(server.Display().empty()) << "no Xvfb (tools/setup-debian.sh installs it)";
    Child child = StartProgram(GetParam().childEnd, server.Display());
    ASSERT_GT(child.pid, 0);
    ASSERT_TRUE(WaitForReady(child));
    server.Stop();
    const int status = WaitForEnd(child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "status " << status;
    EXPECT_EQ(testsupport::ReadFileBytes("Results.txt"), driver::Cp1251(GetParam().log));
}

INSTANTIATE_TEST_SUITE_P(ProgramEnd, TheXServerGoingAwayTest,
                         ::testing::Values(LostDisplay{"OnTheThemeChoice", "wait", kHeader},
                                           LostDisplay{"OnTheResults", "results-wait", kWholeEntry}),
                         [](const ::testing::TestParamInfo<LostDisplay>& info) {
                             return std::string(info.param.name);
                         });

// SIGPIPE, whoever sends it, leaves the program running.
TEST(ProgramEnd, SigpipeIsSurvived) {
    testsupport::TemporaryWorkingDirectory directory;
    Child child = StartProgram("wait");
    ASSERT_GT(child.pid, 0);
    ASSERT_TRUE(WaitForReady(child));
    kill(child.pid, SIGPIPE);
    usleep(300000);
    int status = 0;
    EXPECT_EQ(waitpid(child.pid, &status, WNOHANG), 0) << "status " << status;
    kill(child.pid, SIGTERM);
    status = WaitForEnd(child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
    EXPECT_EQ(testsupport::ReadFileBytes("Results.txt"), driver::Cp1251(kHeader));
}

// Killed outright (kill -9, or the power cut): what the log lacks then is
// the entry of a test still running, which the next start appends; a
// result on screen is in the log already, and is not appended again.
struct KilledAt {
    const char* name;
    const char* childEnd;
    const char* logAtOnce;
    const char* logAfterNextStart;
};

class KilledProgramTest : public ::testing::TestWithParam<KilledAt> {};

TEST_P(KilledProgramTest, LosesNothingAccepted) {
    testsupport::TemporaryWorkingDirectory directory;
    Child child = StartProgram(GetParam().childEnd);
    ASSERT_GT(child.pid, 0);
    ASSERT_TRUE(WaitForReady(child));
    kill(child.pid, SIGKILL);
    WaitForEnd(child);
    EXPECT_EQ(testsupport::ReadFileBytes("Results.txt"), driver::Cp1251(GetParam().logAtOnce));
    Child next = StartProgram("exit-at-start");
    ASSERT_GT(next.pid, 0);
    const int status = WaitForEnd(next);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(testsupport::ReadFileBytes("Results.txt"), driver::Cp1251(GetParam().logAfterNextStart));
    for (const auto& entry : std::filesystem::directory_iterator(".")) {
        EXPECT_FALSE(entry.path().filename().string().ends_with(".pending")) << entry.path();
    }
}

INSTANTIATE_TEST_SUITE_P(ProgramEnd, KilledProgramTest,
                         ::testing::Values(KilledAt{"OnTheThemeChoice", "wait", "", kHeader},
                                           KilledAt{"DuringAQuestion", "question-wait", "", kHeader},
                                           KilledAt{"OnTheResults", "results-wait", kWholeEntry, kWholeEntry}),
                         [](const ::testing::TestParamInfo<KilledAt>& info) { return std::string(info.param.name); });

// The session ends while another program holds the log: the end waits a
// little for it, since nothing will try again. A lock let go half a second
// later still gets the header into the file; a lock kept longer (a backup
// script) ends the wait within two seconds, with no torn line, and standard
// error says what could not be written.
struct HeldLog {
    const char* name;
    std::chrono::milliseconds held;
    bool inFile;
};

class TerminationWhileTheLogIsHeldTest : public ::testing::TestWithParam<HeldLog> {};

TEST_P(TerminationWhileTheLogIsHeldTest, WaitsBrieflyThenFallsBackToStandardError) {
    testsupport::TemporaryWorkingDirectory directory;
    Child child = StartProgram("wait");
    ASSERT_GT(child.pid, 0);
    ASSERT_TRUE(WaitForReady(child));
    testsupport::LockHolder otherProgram("Results.txt", GetParam().held);
    const auto start = Clock::now();
    kill(child.pid, SIGTERM);
    const int status = WaitForEnd(child);
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
    EXPECT_EQ(testsupport::ReadFileBytes("Results.txt"), GetParam().inFile ? driver::Cp1251(kHeader) : "");
    const bool onStandardError =
        testsupport::ReadFileBytes("stderr.txt").find("Петров Петр Петрович\n101\n") != std::string::npos;
    EXPECT_EQ(onStandardError, !GetParam().inFile);
}

INSTANTIATE_TEST_SUITE_P(Locks, TerminationWhileTheLogIsHeldTest,
                         ::testing::Values(HeldLog{"LetGoHalfASecondLater", 500ms, true},
                                           HeldLog{"KeptByABackupScript", std::chrono::milliseconds::max(), false}),
                         [](const ::testing::TestParamInfo<HeldLog>& info) { return std::string(info.param.name); });

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--end") == 0) {
        childEnd = argv[2];
        // The settings of the test's working folder, never the computer's.
        return RunKalvena("kalvena.conf");
    }
    self = std::filesystem::absolute(argv[0]);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
