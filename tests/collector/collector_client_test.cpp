// The test program's client of the service: it never waits longer than its
// patience, keeps what the service has not answered, takes a test up again
// after the service's restart, and drops a refused test without holding
// back the tests after it.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <thread>

#include "log/collector_client.h"
#include "log/log_entry.h"
#include "tests/collector/service_process.h"
#include "tests/support/temp_dir.h"

namespace {

using collectortest::Header;
using collectortest::RightPosition;
using collectortest::ServiceProcess;
using collectortest::WalkQuestions;
using resultslog::CollectorClient;
using testsupport::ReadFileBytes;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A service of its own in a temporary folder for each test.
class CollectorClientTest : public ::testing::Test {
protected:
    const testsupport::TemporaryWorkingDirectory dir;
    ServiceProcess service{dir.Path()};
};

void AnswerAll(CollectorClient& client, const std::vector<std::string>& questions, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) client.Answer(questions[i], RightPosition(questions[i]));
}

TEST_F(CollectorClientTest, WithNoServiceEventsWaitAndGoOnceItListens) {
    CollectorClient client(service.Socket());
    client.Register("Иванов", "101");
    client.ChooseTheme(11);
    const auto begun = Clock::now();
    EXPECT_FALSE(client.Pump(milliseconds{300}));
    EXPECT_LT(Clock::now() - begun, milliseconds{350});
    EXPECT_TRUE(client.Waiting());
    EXPECT_FALSE(client.Reachable());

    service.Start();
    const auto questions = WalkQuestions(11, 3);
    AnswerAll(client, questions, 0, questions.size());
    client.End(resultslog::Ending::Finished);
    EXPECT_TRUE(client.Pump(milliseconds{2000}));
    EXPECT_FALSE(client.Waiting());
    EXPECT_TRUE(client.TakeRefusals().empty());
    EXPECT_EQ(client.LastCounts(), std::make_pair(8, 8));
    const std::string entry = Header("Иванов", "101") + resultslog::TestResultBytes({8, 8});
    EXPECT_EQ(collectortest::BytesOnceThere(service.Results(), entry), entry);
}

TEST_F(CollectorClientTest, ARefusedTestIsDroppedAndReportedAndTheNextGoesThrough) {
    service.Start();
    CollectorClient client(service.Socket());
    client.Register("Правильных ответов 10 из 10", "101");
    client.ChooseTheme(11);
    client.End(resultslog::Ending::Stopped);
    client.Register("Петров", "102");
    client.End(resultslog::Ending::Stopped);
    EXPECT_TRUE(client.Pump(milliseconds{2000}));
    const auto refusals = client.TakeRefusals();
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_EQ(refusals[0], "регистрация: ФИО читается как строка результата");
    EXPECT_EQ(collectortest::BytesOnceThere(service.Results(), Header("Петров", "102")), Header("Петров", "102"));
}

TEST_F(CollectorClientTest, AStoppedServiceCostsTheWindowNoMoreThanItsPatience) {
    service.Start();
    CollectorClient client(service.Socket());
    client.Register("Иванов", "101");
    ASSERT_TRUE(client.Pump(milliseconds{2000}));
    kill(service.Pid(), SIGSTOP);
    client.ChooseTheme(11);
    const auto begun = Clock::now();
    EXPECT_FALSE(client.Pump(milliseconds{300}));
    EXPECT_LT(Clock::now() - begun, milliseconds{350});
    EXPECT_TRUE(client.Waiting());
    kill(service.Pid(), SIGCONT);
    EXPECT_TRUE(client.Pump(milliseconds{2000}));
    EXPECT_TRUE(client.TakeRefusals().empty()) << "the theme was sent once";
}

TEST_F(CollectorClientTest, ATestIsTakenUpAgainAfterTheServiceRestarts) {
    service.Start();
    const auto questions = WalkQuestions(11, 3);
    {
        CollectorClient client(service.Socket());
        client.Register("Иванов", "101");
        client.ChooseTheme(11);
        AnswerAll(client, questions, 0, 4);
        ASSERT_TRUE(client.Pump(milliseconds{2000}));
        service.KillHard();
        AnswerAll(client, questions, 4, 6);
        EXPECT_FALSE(client.Pump(milliseconds{100}));
        service.Start();
        AnswerAll(client, questions, 6, questions.size());
        client.End(resultslog::Ending::Finished);
        EXPECT_TRUE(client.Pump(milliseconds{2000}));
        EXPECT_TRUE(client.TakeRefusals().empty());
    }
    service.Stop();
    EXPECT_EQ(ReadFileBytes(service.Results()), Header("Иванов", "101") + resultslog::TestResultBytes({8, 8}));
}

TEST_F(CollectorClientTest, TheProgramsEndEndsItsTest) {
    service.Start();
    {
        CollectorClient client(service.Socket());
        client.Register("Иванов", "101");
        client.ChooseTheme(11);
    }
    const auto lines = collectortest::LinesOnceThere(service.Answers(), 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(collectortest::Fields(lines[1])[11], "program-end");
}

}  // namespace
