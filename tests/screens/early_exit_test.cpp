#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "app/application.h"
#include "tests/support/gui_support.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

struct EarlyExit {
    const char* name;
    std::function<void()> leave;
};

// Every way of leaving a test early ends the program and keeps the header
// without a result line.
class EarlyExitTest : public ::testing::TestWithParam<EarlyExit> {};

TEST_P(EarlyExitTest, EndsTheProgramAndKeepsTheHeaderAlone) {
    testsupport::TemporaryWorkingDirectory directory;
    driver::StartProgram();
    driver::Register(QStringLiteral("Петров Петр Петрович"), QStringLiteral("101"));
    GetParam().leave();
    EXPECT_TRUE(app::App().Terminated());
    EXPECT_EQ(Results, nullptr);
    // The program's end takes the forms, and with them the log.
    app::App().DestroyForms();
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251("Петров Петр Петрович\r\n101\r\n"));
}

void AnswerAllBut(int remaining) {
    driver::ChooseTheme(1);
    for (int k = 1; k <= 10 - remaining; ++k) driver::Answer(1);
}

INSTANTIATE_TEST_SUITE_P(Ways, EarlyExitTest,
                         ::testing::Values(EarlyExit{"ThemeExit",
                                                     [] {
                                                         QTest::mouseClick(Themes->exit, Qt::LeftButton);
                                                         // The registration window came back, and reopened the log,
                                                         // before the end.
                                                         EXPECT_TRUE(Kalvena->isVisible());
                                                         EXPECT_TRUE(Kalvena->ResultsFile.IsOpen());
                                                     }},
                                           EarlyExit{"ThemeCloseBox", [] { Themes->close(); }},
                                           EarlyExit{"StopOnFirstQuestion",
                                                     [] {
                                                         AnswerAllBut(10);
                                                         TQuestionWindow* window = driver::QuestionOnScreen();
                                                         QTest::mouseClick(window->exit, Qt::LeftButton);
                                                         EXPECT_TRUE(window->isVisible());
                                                     }},
                                           EarlyExit{"StopOnLastQuestion",
                                                     [] {
                                                         AnswerAllBut(1);
                                                         EXPECT_EQ(driver::QuestionOnScreen()->windowTitle(),
                                                                   QStringLiteral("Калвена: вопрос 10"));
                                                         QTest::mouseClick(driver::QuestionOnScreen()->exit,
                                                                           Qt::LeftButton);
                                                     }},
                                           EarlyExit{"SpaceOnStop",
                                                     [] {
                                                         AnswerAllBut(7);
                                                         driver::QuestionOnScreen()->exit->setFocus();
                                                         driver::PressKey(Qt::Key_Space);
                                                     }},
                                           EarlyExit{"CloseRequestToQuestionWindow",
                                                     [] {
                                                         AnswerAllBut(5);
                                                         driver::QuestionOnScreen()->close();
                                                     }}),
                         [](const ::testing::TestParamInfo<EarlyExit>& info) { return std::string(info.param.name); });

}  // namespace
