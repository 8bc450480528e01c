#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <array>

#include "app/application.h"
#include "engine/theme_table.h"
#include "tests/support/answers_check.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

enum class Answering { AllRight, AllWrong, NoneChosen, RightThenChangedToWrong };

struct WholeTestCase {
    int theme;
    Answering answering;
};

class WholeTest : public ::testing::TestWithParam<WholeTestCase> {
protected:
    testsupport::TemporaryWorkingDirectory directory;
};

TEST_P(WholeTest, WalksTheThemeScoresAndLogsTheResult) {
    const auto [theme, answering] = GetParam();
    const int asked = engine::Theme(theme).QuestionsToAsk;
    driver::StartProgram();
    driver::Register(QStringLiteral("Иванов Иван Иванович"), QStringLiteral("101"));
    driver::ChooseTheme(theme);

    const std::vector<int> walk = driver::ExpectedWalk(theme, Kalvena->AskedList[0]);
    int right = 0;
    std::vector<answerscheck::Question> shown;
    for (int k = 1; k <= asked; ++k) {
        TQuestionWindow* window = driver::QuestionOnScreen();
        ASSERT_NE(window, nullptr) << "question " << k;
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Калвена: вопрос %1").arg(k));
        EXPECT_EQ(window->Id(), (engine::QuestionId{theme, walk[static_cast<std::size_t>(k - 1)]}));
        for (QRadioButton* option : window->v) EXPECT_FALSE(option->isChecked());
        const int rightOption = window->Record().right;
        int chosen = 0;
        switch (answering) {
            case Answering::AllRight:
                chosen = rightOption;
                ++right;
                break;
            case Answering::AllWrong: chosen = driver::WrongOption(*window); break;
            case Answering::NoneChosen: break;
            case Answering::RightThenChangedToWrong:
                QTest::mouseClick(window->v.at(static_cast<std::size_t>(rightOption - 1)), Qt::LeftButton);
                chosen = driver::WrongOption(*window);
                break;
        }
        shown.push_back({window->ClassName().toStdString(), chosen == 0 ? "" : std::to_string(chosen),
                         chosen == rightOption ? "1" : "0"});
        driver::Answer(chosen);
        EXPECT_EQ(Kalvena->RightCount + Kalvena->WrongCount, k);
    }

    // The end line goes out with the result line, as the results show.
    answerscheck::ExpectOneAttempt("Иванов Иван Иванович", "101", theme, "finished", right, asked, shown);
    ASSERT_NE(Results, nullptr);
    EXPECT_EQ(app::App().ActiveForm(), Results.data());
    EXPECT_EQ(Results->rightanswer->text(), QStringLiteral("Правильных ответов: %1").arg(right));
    EXPECT_EQ(Results->wronganswer->text(), QStringLiteral("Неправильных ответов: %1").arg(asked - right));
    EXPECT_EQ(Results->mug->text(), right == asked ? QStringLiteral("Ваша оценка: 5 (отлично)")
                                                   : QStringLiteral("Ваша оценка: 2 (неудовлетворительно)"));
    driver::PressOk();

    EXPECT_EQ(driver::LogBytes(), driver::Cp1251("Иванов Иван Иванович\r\n101\r\nПравильных ответов ") +
                                      std::to_string(right) + driver::Cp1251(" из ") + std::to_string(asked) +
                                      "\r\n\r\n");
    EXPECT_TRUE(Kalvena->isVisible());
    EXPECT_TRUE(Kalvena->Surname->text().isEmpty());
    EXPECT_TRUE(Kalvena->wzvod->text().isEmpty());
    EXPECT_EQ(Kalvena->RightCount, 0);
    EXPECT_EQ(Kalvena->WrongCount, 0);
    EXPECT_EQ(Kalvena->QuestionOrdinal, asked);
    EXPECT_TRUE(Kalvena->Session().LogOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Themes, WholeTest,
    ::testing::Values(WholeTestCase{1, Answering::AllRight}, WholeTestCase{1, Answering::AllWrong},
                      WholeTestCase{7, Answering::NoneChosen}, WholeTestCase{7, Answering::AllRight},
                      WholeTestCase{10, Answering::RightThenChangedToWrong}, WholeTestCase{10, Answering::AllRight},
                      WholeTestCase{11, Answering::AllRight}, WholeTestCase{11, Answering::AllWrong},
                      WholeTestCase{5, Answering::AllRight}));

TEST(WholeTestRun, SecondTestStartsCleanAndAskedQuestionsCarryTheirNewPosition) {
    testsupport::TemporaryWorkingDirectory directory;
    driver::StartProgram(1700000000);
    driver::Register(QStringLiteral("Петров"), QStringLiteral("101"));
    driver::ChooseTheme(11);
    const int firstOfFirstTest = Kalvena->AskedList[0];
    driver::AnswerAllAndFinish(0);

    driver::Register(QStringLiteral("Сидоров"), QStringLiteral("102"));
    ASSERT_NE(Themes, nullptr);
    EXPECT_TRUE(Themes->T[0]->isChecked());
    driver::ChooseTheme(11);
    std::array<std::int32_t, 20> expected{};
    expected[0] = Kalvena->AskedList[0];
    EXPECT_EQ(Kalvena->AskedList, expected);
    EXPECT_EQ(Kalvena->RightCount + Kalvena->WrongCount, 0);
    // Theme 11 asks all eight questions, so the first test's first question
    // comes again, captioned with its place in this test.
    const std::vector<int> walk = driver::ExpectedWalk(11, Kalvena->AskedList[0]);
    const auto position = std::find(walk.begin(), walk.end(), firstOfFirstTest) - walk.begin() + 1;
    for (int k = 1; k < position; ++k) driver::Answer(1);
    TQuestionWindow* again = driver::QuestionOnScreen();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Id(), (engine::QuestionId{11, firstOfFirstTest}));
    EXPECT_EQ(again->windowTitle(), QStringLiteral("Калвена: вопрос %1").arg(position));
    for (auto k = position; k <= 8; ++k) driver::Answer(1);
    driver::PressOk();

    const std::string log = driver::LogBytes();
    EXPECT_EQ(log.substr(0, log.find(driver::Cp1251("Сидоров"))),
              driver::Cp1251("Петров\r\n101\r\nПравильных ответов 0 из 8\r\n\r\n"));
}

}  // namespace
