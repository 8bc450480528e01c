// The real service on a temporary socket and folder: a whole attempt to the
// exact bytes, and the attacks a student with a shell could try.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "collector/service.h"
#include "log/log_entry.h"
#include "tests/collector/service_process.h"
#include "tests/support/lock_holder.h"
#include "tests/support/temp_dir.h"

namespace {

using collectortest::BytesOnceThere;
using collectortest::Fields;
using collectortest::Header;
using collectortest::Lines;
using collectortest::LinesOnceThere;
using collectortest::RightPosition;
using collectortest::ServiceProcess;
using collectortest::Speaker;
using collectortest::WalkQuestions;
using testsupport::ReadFileBytes;
using Clock = std::chrono::steady_clock;

std::string ResultLine(int right, int asked) { return resultslog::TestResultBytes({right, asked}); }

// A whole test of theme 11 (8 questions, first 3) with `wrong` answers wrong.
std::string TakeWholeTest(Speaker& speaker, std::string_view name, int wrong) {
    EXPECT_TRUE(speaker.Ask("register\t" + std::string(name) + "\t101").starts_with("ok\t"));
    EXPECT_EQ(speaker.Ask("theme\t11"), "ok");
    const auto questions = WalkQuestions(11, 3);
    std::string last;
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const int chosen =
            static_cast<int>(i) < wrong ? collectortest::WrongPosition(questions[i]) : RightPosition(questions[i]);
        last = speaker.Ask("answer\t" + questions[i] + "\t" + std::to_string(chosen));
    }
    return last;
}

class CollectorService : public ::testing::Test {
protected:
    testsupport::TemporaryWorkingDirectory dir_;
    ServiceProcess service_{dir_.Path()};
    void SetUp() override { service_.Start(); }
};

TEST_F(CollectorService, AWholeTestIsWrittenOnceWithTheServicesOwnCount) {
    Speaker speaker(service_.Socket());
    const std::string registered = speaker.Ask("register\tИванов Иван\t101");
    ASSERT_TRUE(registered.starts_with("ok\t")) << registered;
    const std::string id = registered.substr(3);
    EXPECT_EQ(id.size(), 16u);
    EXPECT_EQ(ReadFileBytes(service_.Results()), "") << "nothing in the log before the end";
    EXPECT_EQ(speaker.Ask("theme\t11"), "ok");
    EXPECT_EQ(LinesOnceThere(service_.Answers(), 1).size(), 1u) << "the start line at once";

    const auto questions = WalkQuestions(11, 3);
    for (std::size_t i = 0; i + 1 < questions.size(); ++i) {
        const int chosen = i < 3 ? collectortest::WrongPosition(questions[i]) : RightPosition(questions[i]);
        EXPECT_EQ(speaker.Ask("answer\t" + questions[i] + "\t" + std::to_string(chosen)), "ok");
    }
    // The last answer ends the test: the entry is in the log, whatever the
    // program does next.
    EXPECT_EQ(speaker.Ask("answer\t" + questions.back() + "\t" + std::to_string(RightPosition(questions.back()))),
              "ok\t5\t8");
    EXPECT_EQ(BytesOnceThere(service_.Results(), Header("Иванов Иван", "101") + ResultLine(5, 8)),
              Header("Иванов Иван", "101") + ResultLine(5, 8));
    EXPECT_EQ(speaker.Ask("end\tfinished"), "ok\t5\t8");

    const auto lines = LinesOnceThere(service_.Answers(), 2);
    ASSERT_EQ(lines.size(), 2u);
    const auto s = Fields(lines[0]);
    const auto e = Fields(lines[1]);
    const std::string account = collector::AccountName(getuid());
    ASSERT_EQ(s.size(), 11u);
    EXPECT_EQ(s[0], "kalvena-answers-2");
    EXPECT_EQ(s[1], "start");
    EXPECT_EQ(s[6], id);
    EXPECT_EQ(s[7], "Иванов Иван");
    EXPECT_EQ(s[8], "101");
    EXPECT_EQ(s[9], "11");
    EXPECT_EQ(s[10], account);
    ASSERT_EQ(e.size(), 14u + 4 * 8);
    EXPECT_EQ(e[1], "end");
    for (std::size_t i = 3; i < 11; ++i) EXPECT_EQ(e[i], s[i]) << i;  // all but the time
    EXPECT_EQ(e[11], "finished");
    EXPECT_EQ(e[12], "5");
    EXPECT_EQ(e[13], "8");
    for (std::size_t q = 0; q < 8; ++q) {
        EXPECT_EQ(e[14 + 4 * q], questions[q]);
        EXPECT_EQ(e[16 + 4 * q], q < 3 ? "0" : "1");
        EXPECT_EQ(e[17 + 4 * q], "0");  // seconds on the service's clock
    }
    const auto deadline = Clock::now() + std::chrono::seconds{5};
    while (!std::filesystem::is_empty(service_.State()) && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds{5});
    EXPECT_TRUE(std::filesystem::is_empty(service_.State())) << "nothing kept once written";
}

TEST_F(CollectorService, NoResultWithoutAnAttemptAndNoAttemptTwice) {
    Speaker forger(service_.Socket());
    // A forged result with no test behind it.
    EXPECT_TRUE(forger.Ask("end\tfinished").starts_with("refused\t"));
    EXPECT_TRUE(forger.Ask("answer\tTq1101\t1").starts_with("refused\t"));
    EXPECT_TRUE(forger.Ask("Правильных ответов 10 из 10").starts_with("refused\t"));
    EXPECT_TRUE(forger.Ask("register\tПравильных ответов 10 из 10\t101").starts_with("refused\t"));
    EXPECT_TRUE(forger.Ask("register\tИванов\tПравильных ответов 10 из 10").starts_with("refused\t"));

    // A test stopped after one answer: the end is refused as "finished".
    const std::string registered = forger.Ask("register\tИванов\t101");
    const std::string id = registered.substr(3);
    EXPECT_EQ(forger.Ask("theme\t11"), "ok");
    const auto questions = WalkQuestions(11, 3);
    EXPECT_EQ(forger.Ask("answer\t" + questions[0] + "\t" + std::to_string(RightPosition(questions[0]))), "ok");
    EXPECT_TRUE(forger.Ask("answer\t" + questions[2] + "\t1").starts_with("refused\t")) << "out of the walk's order";
    EXPECT_TRUE(forger.Ask("answer\t" + questions[0] + "\t1").starts_with("refused\t")) << "the same again";
    EXPECT_TRUE(forger.Ask("end\tfinished").starts_with("refused\t")) << "not over";
    EXPECT_EQ(forger.Ask("end\tstopped"), "ok\t1\t8");
    // Replays of the ended attempt.
    EXPECT_TRUE(forger.Ask("end\tfinished").starts_with("refused\t"));
    EXPECT_TRUE(forger.Ask("end\tstopped").starts_with("refused\t"));
    EXPECT_TRUE(forger.Ask("resume\t" + id).starts_with("refused\t"));
    Speaker again(service_.Socket());
    EXPECT_TRUE(again.Ask("resume\t" + id).starts_with("refused\t"));
    EXPECT_TRUE(again.Ask("answer\t" + questions[1] + "\t1").starts_with("refused\t"));

    EXPECT_EQ(BytesOnceThere(service_.Results(), Header("Иванов", "101")), Header("Иванов", "101"))
        << "the header alone, once";
    const auto lines = LinesOnceThere(service_.Answers(), 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Fields(lines[1])[11], "stopped");
    // Every refusal is in the journal with the account.
    EXPECT_NE(service_.Errors().find(collector::AccountName(getuid()) + ": refused: "), std::string::npos);
}

// A name or platoon the log's code page cannot carry is refused with its
// reason, and nothing is written for it: 0x98 is the one byte of the code
// page that is no character, and U+0098 is not in it.
TEST_F(CollectorService, ANameOrPlatoonTheLogCannotCarryIsRefused) {
    struct Case {
        std::string name;
        std::string platoon;
        const char* reason;
    };
    const Case cases[] = {
        {"Ив\xc2\x98анов", "101", "в ФИО есть недопустимые символы"},
        {"Иванов",
         "1\xc2\x98"
         "01",
         "во взводе есть недопустимые символы"},
        {"Ив\x98нов", "101", "в ФИО есть недопустимые символы"},
        {"Иванов", "\x98", "во взводе есть недопустимые символы"},
        {"漢字", "101", "в ФИО есть недопустимые символы"},
    };
    Speaker speaker(service_.Socket());
    for (const Case& c : cases)
        EXPECT_EQ(speaker.Ask("register\t" + c.name + "\t" + c.platoon), std::string("refused\t") + c.reason) << c.name;
    ASSERT_TRUE(speaker.Ask("register\tИванов\t101").starts_with("ok\t"));
    EXPECT_TRUE(speaker.Ask("end\tstopped").starts_with("ok"));
    EXPECT_EQ(BytesOnceThere(service_.Results(), Header("Иванов", "101")), Header("Иванов", "101"));
    EXPECT_EQ(ReadFileBytes(service_.Answers()), "") << "no theme was chosen";
}

TEST_F(CollectorService, AnAttemptWhoseProgramVanishesIsRecordedAsAbandoned) {
    {
        Speaker speaker(service_.Socket());
        speaker.Ask("register\tСидоров\t102");
        speaker.Ask("theme\t11");
        const auto questions = WalkQuestions(11, 3);
        speaker.Ask("answer\t" + questions[0] + "\t" + std::to_string(RightPosition(questions[0])));
    }  // killed: the connection closes without an end
    {
        // Killed on the results screen, before "OK": the result stands.
        Speaker speaker(service_.Socket());
        EXPECT_EQ(TakeWholeTest(speaker, "Петров", 8), "ok\t0\t8");
    }
    {
        // Left at the theme choice: the registration stays.
        Speaker speaker(service_.Socket());
        speaker.Ask("register\tКузнецов\t103");
    }
    const auto deadline = Clock::now() + std::chrono::seconds{5};
    while (Lines(service_.Results()).size() < 8 && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds{10});
    EXPECT_EQ(ReadFileBytes(service_.Results()),
              Header("Сидоров", "102") + Header("Петров", "101") + ResultLine(0, 8) + Header("Кузнецов", "103"));
    const auto lines = LinesOnceThere(service_.Answers(), 4);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(Fields(lines[1])[11], "abandoned");
    EXPECT_EQ(Fields(lines[1])[12], "1");
    EXPECT_EQ(Fields(lines[3])[11], "finished");
}

TEST_F(CollectorService, AStalledOrStoppedClientDelaysNobody) {
    Speaker stalled(service_.Socket());
    stalled.SendBytes("register\tИванов\t1");  // half a message, never the rest
    // A stopped program, and a lock on the log held by somebody else.
    const pid_t stopped = fork();
    if (stopped == 0) {
        Speaker speaker(service_.Socket());
        speaker.Ask("register\tОстановленный\t104");
        speaker.SendBytes("theme\t1");
        raise(SIGSTOP);
        _exit(0);
    }
    waitpid(stopped, nullptr, WUNTRACED);
    std::optional<testsupport::LockHolder> lock;
    lock.emplace(service_.Results());

    const auto begun = Clock::now();
    Speaker student(service_.Socket());
    EXPECT_EQ(TakeWholeTest(student, "Петров", 0), "ok\t8\t8");
    EXPECT_EQ(student.Ask("end\tfinished"), "ok\t8\t8");
    EXPECT_LT(Clock::now() - begun, std::chrono::milliseconds{1000}) << "answered promptly";
    // The log's lock holds back the append only; it follows the lock.
    EXPECT_EQ(ReadFileBytes(service_.Results()), "");
    lock.reset();
    const auto deadline = Clock::now() + std::chrono::seconds{5};
    while (ReadFileBytes(service_.Results()).empty() && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds{10});
    EXPECT_EQ(ReadFileBytes(service_.Results()), Header("Петров", "101") + ResultLine(8, 8));
    // The half messages cost their senders their connections.
    EXPECT_TRUE(stalled.Dropped(std::chrono::milliseconds{3000}));
    kill(stopped, SIGKILL);
    waitpid(stopped, nullptr, 0);
}

TEST_F(CollectorService, AFloodIsRefusedClearlyAndDroppedAtTheLimits) {
    Speaker flood(service_.Socket());
    std::vector<std::string> replies;
    for (int i = 0; i < 8; ++i) replies.push_back(flood.Ask("register\tИванов\t101"));
    // Three tests at once at most; each registration ends the connection's
    // previous test, so the rate limit is what stops this one.
    int refused = 0;
    for (const std::string& reply : replies) refused += reply.starts_with("refused\t") ? 1 : 0;
    EXPECT_EQ(refused, 2);
    EXPECT_EQ(replies.back(), "refused\ttoo many registrations in a minute");
    for (int i = 0; i < 40 && !flood.Dropped(std::chrono::milliseconds{0}); ++i) flood.Ask("bogus");
    EXPECT_TRUE(flood.Dropped(std::chrono::milliseconds{100})) << "too many refusals";

    std::vector<std::unique_ptr<Speaker>> connections;
    for (int i = 0; i < 4; ++i) connections.push_back(std::make_unique<Speaker>(service_.Socket()));
    Speaker fifth(service_.Socket());
    EXPECT_EQ(fifth.Ask("theme\t1"), "refused\ttoo many connections");

    connections.clear();
    std::this_thread::sleep_for(std::chrono::milliseconds{100});
    Speaker big(service_.Socket());
    EXPECT_TRUE(big.Ask(std::string(2000, 'x')).starts_with("refused\ta message longer than 1024"));
    EXPECT_TRUE(big.Dropped(std::chrono::milliseconds{500}));
}

TEST_F(CollectorService, AFullLogTakesNoNewTest) {
    std::filesystem::create_directories(service_.Results().parent_path());
    std::ofstream(service_.Results()).flush();
    std::filesystem::resize_file(service_.Results(), 64 * 1024 * 1024);
    Speaker speaker(service_.Socket());
    EXPECT_EQ(speaker.Ask("register\tИванов\t101"), "refused\tResults.txt has reached its size limit of 64 MiB");
}

TEST(CollectorRestart, AKillOfTheServiceMidTestLosesNothingAndDoublesNothing) {
    const testsupport::TemporaryWorkingDirectory dir;
    ServiceProcess service(dir.Path(), {"--resume-wait", "1"});
    service.Start();
    const auto questions = WalkQuestions(11, 3);
    Speaker first(service.Socket());
    const std::string id = first.Ask("register\tИванов\t101").substr(3);
    first.Ask("theme\t11");
    for (std::size_t i = 0; i < 4; ++i)
        first.Ask("answer\t" + questions[i] + "\t" + std::to_string(RightPosition(questions[i])));
    // A second student, whose program never comes back after the restart.
    Speaker second(service.Socket());
    second.Ask("register\tСидоров\t102");
    service.KillHard();
    first.Close();
    second.Close();

    service.Start();
    Speaker resumed(service.Socket());
    EXPECT_EQ(resumed.Ask("resume\t" + id), "ok");
    EXPECT_TRUE(resumed.Ask("answer\t" + questions[3] + "\t1").starts_with("refused\t")) << "kept, not replayed";
    for (std::size_t i = 4; i < questions.size(); ++i)
        resumed.Ask("answer\t" + questions[i] + "\t" + std::to_string(RightPosition(questions[i])));
    EXPECT_EQ(resumed.Ask("end\tfinished"), "ok\t8\t8");
    // The second waits for its resume a second here, then is abandoned.
    std::this_thread::sleep_for(std::chrono::milliseconds{1800});
    service.Stop();
    EXPECT_EQ(ReadFileBytes(service.Results()), Header("Иванов", "101") + ResultLine(8, 8) + Header("Сидоров", "102"));
    const auto lines = Lines(service.Answers());
    ASSERT_EQ(lines.size(), 2u) << "one start and one end";
    EXPECT_EQ(Fields(lines[1])[11], "finished");
    EXPECT_TRUE(std::filesystem::is_empty(service.State()));
}

TEST(CollectorFolders, TheAccountPlaceholderIsTheCallersAccount) {
    const testsupport::TemporaryWorkingDirectory dir;
    ServiceProcess service(dir.Path(), {}, (dir.Path() / "tree/%h/%u").native());
    service.Start();
    Speaker speaker(service.Socket());
    // A classmate's name is recorded under the caller's own account.
    ASSERT_TRUE(speaker.Ask("register\tОдноклассник\t101").starts_with("ok\t"));
    speaker.Ask("end\tstopped");
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const auto log = dir.Path() / "tree" / host / collector::AccountName(getuid()) / "Results.txt";
    EXPECT_EQ(BytesOnceThere(log, Header("Одноклассник", "101")), Header("Одноклассник", "101"));
}

}  // namespace
