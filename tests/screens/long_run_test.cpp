#include <gtest/gtest.h>

#include <QApplication>

#include "app/application.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

// However many students a class holds, forms and windows do not pile up.
// Round r takes theme r % 13 + 1 with answer pattern r % 5, so 65 rounds
// pair every theme with every pattern; twice through them after a warm-up
// shows what piles up on any one pairing.
TEST(LongRun, EveryThemeWithEveryAnswerPatternTwiceLeavesFormsAndWindowsFlat) {
    constexpr int kWarmUp = 10;
    constexpr int kRounds = kWarmUp + 2 * 13 * 5;
    testsupport::TemporaryWorkingDirectory directory;
    driver::StartProgram();
    for (int round = 0; round < kWarmUp; ++round) driver::TakeWholeTest(round);
    const int forms = app::App().LiveFormCount();
    const auto windows = QApplication::topLevelWidgets().size();
    const auto allWidgets = QApplication::allWidgets().size();
    for (int round = kWarmUp; round < kRounds; ++round) driver::TakeWholeTest(round);
    EXPECT_EQ(app::App().LiveFormCount(), forms);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
    EXPECT_EQ(QApplication::allWidgets().size(), allWidgets);
    EXPECT_EQ(forms, 1);
    const std::string log = driver::LogBytes();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), kRounds * 4);
}

}  // namespace
