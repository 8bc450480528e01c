#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/application.h"
#include "tests/support/lock_holder.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

class ResultsWindowTest : public ::testing::Test {
protected:
    void SetUp() override { driver::StartProgram(); }

    TResults* OpenResults(std::int32_t right, std::int32_t asked) {
        Kalvena->RightCount = right;
        Kalvena->WrongCount = asked - right;
        Kalvena->QuestionOrdinal = asked;
        Kalvena->QuestionsToAsk = asked;
        return app::App().CreateForm(Results);
    }

    // A student who takes theme 11 and leaves every question unanswered:
    // the results window is on screen, none of 8 right.
    TResults* TakeTestToResults(const QString& fullName) {
        driver::Register(fullName, QStringLiteral("101"));
        driver::ChooseTheme(11);
        while (driver::QuestionOnScreen() != nullptr) driver::Answer(0);
        return Results;
    }

    testsupport::TemporaryWorkingDirectory directory;
};

TEST_F(ResultsWindowTest, ShowsTheCountsAndTheGrade) {
    struct Row {
        std::int32_t right;
        std::int32_t asked;
        const char* grade;
    };
    for (const Row& row : {Row{10, 10, "5 (отлично)"}, Row{7, 10, "4 (хорошо)"}, Row{0, 10, "2 (неудовлетворительно)"},
                           Row{7, 8, "4 (хорошо)"}, Row{5, 8, "3 (удовлетворительно)"}}) {
        TResults* window = OpenResults(row.right, row.asked);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Калвена: результаты"));
        EXPECT_EQ(window->rightanswer->text(), QStringLiteral("Правильных ответов: %1").arg(row.right));
        EXPECT_EQ(window->wronganswer->text(), QStringLiteral("Неправильных ответов: %1").arg(row.asked - row.right));
        EXPECT_EQ(window->mug->text(), QStringLiteral("Ваша оценка: ") + QString::fromUtf8(row.grade));
        EXPECT_EQ(window->focusWidget(), window->EndOfTest);
        // Labels grow to the right from their design left edge.
        EXPECT_GE(window->mug->width(), window->mug->sizeHint().width());
    }
}

TEST_F(ResultsWindowTest, OkAndTheCloseBoxBothFinishTheTest) {
    for (bool byCloseBox : {false, true}) {
        const std::size_t before = driver::LogBytes().size();
        TResults* window = TakeTestToResults(QStringLiteral("Иванов"));
        ASSERT_NE(window, nullptr);
        if (byCloseBox) {
            window->close();
        } else {
            QTest::mouseClick(window->EndOfTest, Qt::LeftButton);
        }
        driver::Settle();
        EXPECT_EQ(Results, nullptr);
        EXPECT_TRUE(Kalvena->isVisible());
        EXPECT_EQ(app::App().ActiveForm(), Kalvena.data());
        EXPECT_TRUE(Kalvena->Surname->text().isEmpty());
        EXPECT_TRUE(Kalvena->wzvod->text().isEmpty());
        EXPECT_EQ(Kalvena->RightCount, 0);
        EXPECT_EQ(Kalvena->WrongCount, 0);
        EXPECT_TRUE(Kalvena->Session().LogOpen());
        EXPECT_FALSE(app::App().Terminated());
        EXPECT_EQ(driver::LogBytes().substr(before),
                  driver::Cp1251("Иванов\r\n101\r\nПравильных ответов 0 из 8\r\n\r\n"));
    }
}

// What the log file held, and whether the log was open, when the
// registration window came back.
class LogOnReturn : public QObject {
public:
    LogOnReturn() { Kalvena->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            bytes = driver::LogBytes();
            logOpen = Kalvena->Session().LogOpen();
        }
        return false;
    }
    std::string bytes;
    bool logOpen = true;
};

TEST_F(ResultsWindowTest, OkAppendsTheWholeEntryBeforeTheNextStudentRegisters) {
    TResults* window = TakeTestToResults(QStringLiteral("Иванов"));
    ASSERT_NE(window, nullptr);
    LogOnReturn log;
    {
        // Another copy of the program appending its own entry meanwhile.
        testsupport::LockHolder otherProgram("Results.txt", std::chrono::milliseconds{50});
        QTest::mouseClick(window->EndOfTest, Qt::LeftButton);
    }
    driver::Settle();
    // Header and result went out together, as the log closed.
    EXPECT_EQ(log.bytes, driver::Cp1251("Иванов\r\n101\r\nПравильных ответов 0 из 8\r\n\r\n"));
    EXPECT_FALSE(log.logOpen);
    EXPECT_TRUE(Kalvena->Session().LogOpen());
    EXPECT_FALSE(Kalvena->LogWarning->isVisible());
    EXPECT_EQ(driver::LogBytes(), log.bytes);
}

}  // namespace
