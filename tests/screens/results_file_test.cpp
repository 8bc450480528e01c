#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "app/application.h"
#include "tests/support/gui_support.h"
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
    ASSERT_TRUE(Kalvena->Session().LogOpen());
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
    for (int answered = 0; answered < 7; ++answered) driver::Answer(0);
    testsupport::LockHolder otherProgram("Results.txt", 1000ms);
    const auto released = Clock::now() + 1s;
    driver::Answer(0);
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
    // The warning names the file that holds the entry back.
    EXPECT_EQ(Kalvena->LogWarning->text(),
              QStringLiteral("Результат еще не записан в файл Results.answers.csv: файл занят, запись повторяется."));
    EXPECT_EQ(testsupport::ReadFileBytes("Results.answers.csv"), "");
    otherProgram.Release();
    const auto deadline = Clock::now() + 3s;
    while (Kalvena->LogWarning->isVisible() && Clock::now() < deadline) QTest::qWait(20);
    EXPECT_FALSE(Kalvena->LogWarning->isVisible());
    const std::string record = testsupport::ReadFileBytes("Results.answers.csv");
    EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), 2) << record;
    EXPECT_NE(record.find(",end,"), std::string::npos) << record;
}

// Both files held back: each is retried on its own, so the record that is
// free again gets its lines while the log is still held, and the other way
// round.
TEST(ResultsFile, EachHeldFileIsRetriedWhileTheOtherStaysHeld) {
    for (const bool logFreedFirst : {false, true}) {
        SCOPED_TRACE(logFreedFirst ? "the log freed first" : "the answers record freed first");
        testsupport::TemporaryWorkingDirectory directory;
        driver::StartProgram();
        std::optional<testsupport::LockHolder> log(std::in_place, "Results.txt");
        std::optional<testsupport::LockHolder> record(std::in_place, "Results.answers.csv");
        FinishTest("Иванов", "101");
        (logFreedFirst ? log : record).reset();
        const auto written = [&] {
            return logFreedFirst ? driver::LogBytes() == driver::Cp1251(kFirstEntry)
                                 : testsupport::ReadFileBytes("Results.answers.csv").find(",end,") != std::string::npos;
        };
        const auto deadline = Clock::now() + 3s;
        while (!written() && Clock::now() < deadline) QTest::qWait(20);
        EXPECT_TRUE(written()) << "the free file was not retried";
        EXPECT_TRUE(Kalvena->LogWarning->isVisible()) << "the other file still holds its lines back";
        (logFreedFirst ? record : log).reset();
        while (Kalvena->LogWarning->isVisible() && Clock::now() < deadline + 3s) QTest::qWait(20);
        EXPECT_FALSE(Kalvena->LogWarning->isVisible());
        EXPECT_EQ(driver::LogBytes(), driver::Cp1251(kFirstEntry));
        testsupport::ResetApplication();
    }
}

// The test is done once its results show: the whole entry is in the log,
// synced, before "OK" is pressed.
TEST(ResultsFile, TheEntryIsInTheLogOnceTheResultsShow) {
    testsupport::TemporaryWorkingDirectory directory;
    driver::StartProgram();
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(11);
    while (driver::QuestionOnScreen() != nullptr) {
        EXPECT_EQ(driver::LogBytes(), "");
        driver::Answer(0);
    }
    ASSERT_TRUE(Results != nullptr && Results->isVisible());
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251(kFirstEntry));
    driver::PressOk();
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251(kFirstEntry));
}

// «Выход» while another program holds the log: the program waits a moment,
// then says on screen that the entry is kept and where; the next start
// appends it.
TEST(ResultsFile, ExitWhileTheLogIsHeldSaysWhereTheEntryIsKept) {
    testsupport::TemporaryWorkingDirectory directory;
    driver::StartProgram();
    {
        testsupport::LockHolder otherProgram("Results.txt");
        FinishTest("Иванов", "101");
        const auto start = Clock::now();
        QTest::mouseClick(Kalvena->exit, Qt::LeftButton);
        EXPECT_LT(Clock::now() - start, 1s);
        EXPECT_TRUE(app::App().Terminated());
        ASSERT_EQ(testsupport::ShownNotices().size(), 1);
        const QString notice = testsupport::ShownNotices().front();
        EXPECT_TRUE(notice.contains(QStringLiteral("Results.txt"))) << notice.toStdString();
        std::string kept;
        for (const auto& entry : std::filesystem::directory_iterator(".")) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(".Results.txt.") && name.ends_with(".pending")) kept = name;
        }
        ASSERT_FALSE(kept.empty());
        EXPECT_TRUE(notice.contains(QString::fromStdString(kept))) << notice.toStdString();
        EXPECT_EQ(testsupport::ReadFileBytes(kept), driver::Cp1251(kFirstEntry));
        testsupport::ResetApplication();
    }
    EXPECT_EQ(driver::LogBytes(), "");
    driver::StartProgram();
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251(kFirstEntry));
}

}  // namespace
