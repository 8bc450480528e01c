#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "app/application.h"
#include "content/question_bank.h"
#include "content/question_names.h"
#include "tests/support/answers_check.h"
#include "tests/support/gui_support.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

struct EarlyExit {
    const char* name;
    std::function<void()> leave;
    // How the answers record ends the test; empty when none began.
    const char* ending = "";
    int answered = 0;  // with option 1, before leaving
};

// Every way of leaving a test early ends the program and keeps the header
// without a result line.
class EarlyExitTest : public ::testing::TestWithParam<EarlyExit> {};

// The questions of theme 1 in the order the test shows them.
std::vector<int> walk_;

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
    const EarlyExit& way = GetParam();
    if (*way.ending == '\0') return answerscheck::ExpectNoAttempt();
    // The questions answered with option 1, then the one on screen, unanswered.
    std::vector<answerscheck::Question> shown;
    int right = 0;
    for (int k = 0; k < way.answered; ++k) {
        const engine::QuestionId id{1, walk_[static_cast<std::size_t>(k)]};
        const bool correct = content::Question(id).right == 1;
        right += correct ? 1 : 0;
        shown.push_back({content::WindowClassName(id), "1", correct ? "1" : "0"});
    }
    shown.push_back({content::WindowClassName({1, walk_[static_cast<std::size_t>(way.answered)]}), "", "0"});
    answerscheck::ExpectOneAttempt("Петров Петр Петрович", "101", 1, way.ending, right, 10, shown);
}

void AnswerAllBut(int remaining) {
    driver::ChooseTheme(1);
    walk_ = driver::ExpectedWalk(1, Kalvena->AskedList[0]);
    for (int k = 1; k <= 10 - remaining; ++k) driver::Answer(1);
}

INSTANTIATE_TEST_SUITE_P(Ways, EarlyExitTest,
                         ::testing::Values(EarlyExit{"ThemeExit",
                                                     [] {
                                                         QTest::mouseClick(Themes->exit, Qt::LeftButton);
                                                         // The registration window came back, and reopened the log,
                                                         // before the end.
                                                         EXPECT_TRUE(Kalvena->isVisible());
                                                         EXPECT_TRUE(Kalvena->Session().LogOpen());
                                                     }},
                                           EarlyExit{"ThemeCloseBox", [] { Themes->close(); }},
                                           EarlyExit{"StopOnFirstQuestion",
                                                     [] {
                                                         AnswerAllBut(10);
                                                         TQuestionWindow* window = driver::QuestionOnScreen();
                                                         QTest::mouseClick(window->exit, Qt::LeftButton);
                                                         EXPECT_TRUE(window->isVisible());
                                                     },
                                                     "stopped", 0},
                                           EarlyExit{"StopOnLastQuestion",
                                                     [] {
                                                         AnswerAllBut(1);
                                                         EXPECT_EQ(driver::QuestionOnScreen()->windowTitle(),
                                                                   QStringLiteral("Калвена: вопрос 10"));
                                                         QTest::mouseClick(driver::QuestionOnScreen()->exit,
                                                                           Qt::LeftButton);
                                                     },
                                                     "stopped", 9},
                                           EarlyExit{"SpaceOnStop",
                                                     [] {
                                                         AnswerAllBut(7);
                                                         driver::QuestionOnScreen()->exit->setFocus();
                                                         driver::PressKey(Qt::Key_Space);
                                                     },
                                                     "stopped", 3},
                                           EarlyExit{"CloseRequestToQuestionWindow",
                                                     [] {
                                                         AnswerAllBut(5);
                                                         driver::QuestionOnScreen()->close();
                                                     },
                                                     "program-end", 5}),
                         [](const ::testing::TestParamInfo<EarlyExit>& info) { return std::string(info.param.name); });

}  // namespace
