#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/support/lock_holder.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const char* const kEarlierEntry = "Сидоров\r\n100\r\nПравильных ответов 5 из 10\r\n\r\n";
const char* const kFirstEntry = "Иванов\r\n101\r\nПравильных ответов 0 из 8\r\n\r\n";
const char* const kSecondEntry = "Петров\r\n102\r\nПравильных ответов 0 из 8\r\n\r\n";

void FinishTest(const char* fullName, const char* platoon) {
    driver::Register(QString::fromUtf8(fullName), QString::fromUtf8(platoon));
    driver::ChooseTheme(11);
    driver::AnswerAllAndFinish(0);
}

struct MovedLog {
    const char* name;
    std::function<void()> move;
    bool collected;  // whether "Collected.txt" keeps the earlier entries
};

// An instructor collects the log while the registration window waits: the
// next entry goes into a new "Results.txt", and nothing into the old file.
class MovedLogTest : public ::testing::TestWithParam<MovedLog> {};

TEST_P(MovedLogTest, TheNextEntryGoesToTheFileOfThatName) {
    testsupport::TemporaryWorkingDirectory directory;
    std::ofstream("Results.txt", std::ios::binary) << driver::Cp1251(kEarlierEntry);
    driver::StartProgram();
    ASSERT_TRUE(Kalvena->ResultsFile.IsOpen());
    GetParam().move();
    FinishTest("Иванов", "101");
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251(kFirstEntry));
    EXPECT_EQ(testsupport::ReadFileBytes("Collected.txt"), GetParam().collected ? driver::Cp1251(kEarlierEntry) : "");
    EXPECT_FALSE(Kalvena->LogWarning->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, MovedLogTest,
    ::testing::Values(MovedLog{"Deleted", [] { std::filesystem::remove("Results.txt"); }, false},
                      MovedLog{"Renamed", [] { std::filesystem::rename("Results.txt", "Collected.txt"); }, true},
                      MovedLog{"ReplacedByAnotherFile",
                               [] {
                                   std::filesystem::rename("Results.txt", "Collected.txt");
                                   std::ofstream("Results.txt", std::ios::binary);
                               },
                               true}),
    [](const ::testing::TestParamInfo<MovedLog>& info) { return std::string(info.param.name); });

TEST(ResultsFile, ALockHeldElsewhereShowsTheWarningAndTheEntryFollowsLater) {
    testsupport::TemporaryWorkingDirectory directory;
    driver::StartProgram();
    {
        testsupport::LockHolder otherProgram("Results.txt");
        FinishTest("Иванов", "101");
        EXPECT_TRUE(Kalvena->isVisible());
        EXPECT_TRUE(Kalvena->LogWarning->isVisible());
        EXPECT_EQ(driver::LogBytes(), "");
    }
    FinishTest("Петров", "102");
    EXPECT_FALSE(Kalvena->LogWarning->isVisible());
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251(kFirstEntry) + driver::Cp1251(kSecondEntry));
}

// Another copy of the program holds the log for a second as the student
// presses "OK": the registration window says that the result waits, and
// the entry goes out by itself soon after the lock is let go, taking the
// warning with it; also when the next student has already gone on to the
// theme choice, whose own entry then follows whole.
class HeldBackResultTest : public ::testing::TestWithParam<bool> {};

TEST_P(HeldBackResultTest, GoesOutByItselfOnceTheLockIsFree) {
    const bool nextStudentGoesOn = GetParam();
    testsupport::TemporaryWorkingDirectory directory;
    driver::StartProgram();
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(11);
    while (driver::QuestionOnScreen() != nullptr) driver::Answer(0);
    testsupport::LockHolder otherProgram("Results.txt", 1000ms);
    const auto released = Clock::now() + 1s;
    driver::PressOk();
    ASSERT_TRUE(Kalvena->isVisible());
    QLabel* warning = Kalvena->LogWarning;
    EXPECT_TRUE(warning->isVisible());
    EXPECT_EQ(warning->text(),
              QStringLiteral("Результат еще не записан в файл Results.txt: файл занят, запись повторяется."));
    EXPECT_LE(warning->fontMetrics().horizontalAdvance(warning->text()), warning->width());
    EXPECT_EQ(driver::LogBytes(), "");

    if (nextStudentGoesOn) driver::Register(QStringLiteral("Петров"), QStringLiteral("102"));
    while (driver::LogBytes().empty() && Clock::now() < released + 2s) QTest::qWait(20);
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251(kFirstEntry));
    EXPECT_FALSE(warning->isVisibleTo(Kalvena));

    if (nextStudentGoesOn) {
        driver::ChooseTheme(11);
        driver::AnswerAllAndFinish(0);
        EXPECT_EQ(driver::LogBytes(), driver::Cp1251(kFirstEntry) + driver::Cp1251(kSecondEntry));
    }
    EXPECT_FALSE(warning->isVisibleTo(Kalvena));
}

INSTANTIATE_TEST_SUITE_P(Screens, HeldBackResultTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "NextStudentOnTheThemeChoice" : "RegistrationOnScreen");
                         });

// The answers record, held by another program through a whole test, never
// stops the test: the log gets its entry, the registration window warns as
// for the log, and the retry appends the record's lines once it is free.
TEST(ResultsFile, AHeldAnswersRecordWarnsAndFollowsLater) {
    testsupport::TemporaryWorkingDirectory directory;
    driver::StartProgram();
    testsupport::LockHolder otherProgram("Results.answers.csv");
    FinishTest("Иванов", "101");
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251(kFirstEntry));
    EXPECT_TRUE(Kalvena->LogWarning->isVisible());
    EXPECT_EQ(testsupport::ReadFileBytes("Results.answers.csv"), "");
    otherProgram.Release();
    const auto deadline = Clock::now() + 3s;
    while (Kalvena->LogWarning->isVisible() && Clock::now() < deadline) QTest::qWait(20);
    EXPECT_FALSE(Kalvena->LogWarning->isVisible());
    const std::string record = testsupport::ReadFileBytes("Results.answers.csv");
    EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), 2) << record;
    EXPECT_NE(record.find(",end,"), std::string::npos) << record;
}

}  // namespace
