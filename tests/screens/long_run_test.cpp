#include <gtest/gtest.h>

#include <QApplication>

#include "app/application.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

// However many students a class holds, forms and windows do not pile up.
TEST(LongRun, FiveHundredTestsLeaveFormsAndWindowsFlat) {
    testsupport::TemporaryWorkingDirectory directory;
    driver::StartProgram();
    for (int round = 0; round < 10; ++round) driver::TakeWholeTest(round);
    const int forms = app::App().LiveFormCount();
    const auto windows = QApplication::topLevelWidgets().size();
    const auto allWidgets = QApplication::allWidgets().size();
    for (int round = 10; round < 500; ++round) driver::TakeWholeTest(round);
    EXPECT_EQ(app::App().LiveFormCount(), forms);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
    EXPECT_EQ(QApplication::allWidgets().size(), allWidgets);
    EXPECT_EQ(forms, 1);
    const std::string log = driver::LogBytes();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 500 * 4);
}

}  // namespace
