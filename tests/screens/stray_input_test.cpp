// Input aimed at one window never lands on the window that replaces it.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyleHints>
#include <QTest>

#include "app/application.h"
#include "tests/support/gui_support.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

// The left button at `button`'s centre, delivered through the window system
// as a real mouse would, with its own clock in milliseconds: Qt itself makes
// a double-click of two presses close in time.
class Mouse {
public:
    Mouse() : now_(static_cast<ulong>(QTest::lastMouseTimestamp) + 10000) {}
    // Later QTest clicks must not look like part of these.
    ~Mouse() { QTest::lastMouseTimestamp = static_cast<int>(now_ + 10000); }

    void Press(QWidget* button, int afterMs) { Send(button, QEvent::MouseButtonPress, Qt::LeftButton, afterMs); }
    void Release(QWidget* button, int afterMs) { Send(button, QEvent::MouseButtonRelease, Qt::NoButton, afterMs); }
    void Click(QWidget* button, int afterMs) {
        Press(button, afterMs);
        Release(button, 40);
    }

private:
    void Send(QWidget* button, QEvent::Type type, Qt::MouseButtons state, int afterMs) {
        now_ += static_cast<ulong>(afterMs);
        QWindow* window = button->window()->windowHandle();
        const QPoint at = button->mapTo(button->window(), button->rect().center());
        qt_handleMouseEvent(window, at, window->mapToGlobal(at), state, Qt::LeftButton, type, Qt::NoModifier,
                            static_cast<int>(now_));
        driver::Settle();
    }

    ulong now_;
};

// Keys struck where the focus is in the window on screen, with their own
// clock in milliseconds, as a keyboard's events carry the moment they were
// struck.
class Keyboard {
public:
    // Strikes `key` `afterMs` after the last stroke, and lets it go 40 ms
    // later: Space presses a button as it is let go.
    void Stroke(Qt::Key key, int afterMs, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        now_ += static_cast<quint64>(afterMs);
        Send(QEvent::KeyPress, key, modifiers, now_, false);
        Send(QEvent::KeyRelease, key, modifiers, now_ + 40, false);
    }
    // The key's repeats while it is held down after the last stroke.
    void Repeat(Qt::Key key, int times) {
        for (int repeat = 1; repeat <= times; ++repeat) {
            Send(QEvent::KeyPress, key, Qt::NoModifier, now_ + 500 + 30 * static_cast<quint64>(repeat), true);
        }
    }

private:
    static void Send(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers, quint64 at, bool autoRepeat) {
        QWidget* form = app::App().ActiveForm();
        if (form == nullptr) return;
        const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r");
        QKeyEvent event(type, key, modifiers, text, autoRepeat);
        event.setTimestamp(at);
        QApplication::sendEvent(form->focusWidget() != nullptr ? form->focusWidget() : form, &event);
        driver::Settle();
    }

    quint64 now_ = 1000000;
};

int DoubleClickMs() { return QGuiApplication::styleHints()->mouseDoubleClickInterval(); }

QString OnScreen() {
    TQuestionWindow* window = driver::QuestionOnScreen();
    return window != nullptr ? window->windowTitle() : QStringLiteral("no question");
}

class StrayInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        driver::StartProgram();
        Kalvena->Surname->setText(QStringLiteral("Иванов"));
        Kalvena->wzvod->setText(QStringLiteral("101"));
    }
    // The program ends here, so its pending entry goes to this test's log
    // and not to the next test's, which the log follows by name.
    void TearDown() override { testsupport::ResetApplication(); }
    testsupport::TemporaryWorkingDirectory directory;
};

TEST_F(StrayInputTest, ADoubleClickOnTheForwardButtonAdvancesOneQuestion) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(2);
    Mouse mouse;
    mouse.Click(driver::QuestionOnScreen()->Start, 0);
    // The second click lands where the first one was, on the next window.
    TQuestionWindow* second = driver::QuestionOnScreen();
    ASSERT_NE(second, nullptr);
    mouse.Click(second->Start, 60);
    ASSERT_EQ(driver::QuestionOnScreen(), second);
    EXPECT_FALSE(second->Start->isDown());
    EXPECT_EQ(second->windowTitle(), QStringLiteral("Калвена: вопрос 2"));
    EXPECT_EQ(Kalvena->WrongCount, 1);

    // So does a third click of the same burst; a deliberate click after the
    // interval answers.
    mouse.Click(second->Start, DoubleClickMs() - 50);
    ASSERT_EQ(driver::QuestionOnScreen(), second);
    mouse.Click(second->Start, DoubleClickMs() + 10);
    ASSERT_NE(driver::QuestionOnScreen(), nullptr);
    EXPECT_EQ(driver::QuestionOnScreen()->windowTitle(), QStringLiteral("Калвена: вопрос 3"));
    EXPECT_EQ(Kalvena->WrongCount, 2);
}

TEST_F(StrayInputTest, ADoubleClickOnRegistrationStopsAtTheThemeChoice) {
    Mouse mouse;
    mouse.Click(Kalvena->Start, 0);
    ASSERT_NE(Themes, nullptr);
    mouse.Click(Themes->Start, 60);
    ASSERT_TRUE(Themes != nullptr && Themes->isVisible());
    EXPECT_EQ(driver::QuestionOnScreen(), nullptr);
    EXPECT_EQ(Kalvena->QuestionOrdinal, 0);
    // A double-click of the student's own on the new window works.
    mouse.Click(Themes->T[4], DoubleClickMs() + 10);
    mouse.Click(Themes->T[5], 60);
    EXPECT_TRUE(Themes->T[5]->isChecked());
}

TEST_F(StrayInputTest, APressMadeBeforeAWindowAppearedDoesNotClickIt) {
    Mouse mouse;
    mouse.Press(Kalvena->Start, 0);
    // The theme choice opens while the button is still held down.
    Kalvena->StartClick();
    ASSERT_NE(Themes, nullptr);
    mouse.Release(Themes->Start, DoubleClickMs() + 200);
    ASSERT_TRUE(Themes != nullptr && Themes->isVisible());
    EXPECT_EQ(driver::QuestionOnScreen(), nullptr);
}

TEST_F(StrayInputTest, AHeldEnterAnswersOneQuestionAFreshEnterTheNext) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(2);
    TQuestionWindow* first = driver::QuestionOnScreen();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(first->focusWidget(), &press);
    driver::Settle();
    TQuestionWindow* second = driver::QuestionOnScreen();
    ASSERT_NE(second, first);
    for (int repeat = 0; repeat < 5; ++repeat) {
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
        QApplication::sendEvent(second->focusWidget(), &held);
        driver::Settle();
    }
    ASSERT_EQ(driver::QuestionOnScreen(), second);
    EXPECT_EQ(Kalvena->WrongCount, 1);
    // Enter on a fresh question counts a wrong answer as always.
    driver::PressKey(Qt::Key_Return);
    EXPECT_EQ(Kalvena->WrongCount, 2);
    ASSERT_NE(driver::QuestionOnScreen(), nullptr);
    EXPECT_EQ(driver::QuestionOnScreen()->windowTitle(), QStringLiteral("Калвена: вопрос 3"));
}

// The second of two Enter or Space strokes as fast as a double-click was
// made before the student could see the question the first one opened.
TEST_F(StrayInputTest, TwoStrokesOfEnterOrSpaceAsFastAsADoubleClickAnswerOneQuestion) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(2);
    Keyboard keyboard;
    int question = 1;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        for (const int apart : {80, 150, 250}) {
            keyboard.Stroke(key, DoubleClickMs() + 10);
            keyboard.Stroke(key, apart);
            ++question;
            ASSERT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос %1").arg(question)) << key << " " << apart;
        }
    }
    // The keypad's Enter, and Enter after Space, alike.
    keyboard.Stroke(Qt::Key_Enter, DoubleClickMs() + 10, Qt::KeypadModifier);
    keyboard.Stroke(Qt::Key_Enter, 120, Qt::KeypadModifier);
    keyboard.Stroke(Qt::Key_Space, DoubleClickMs() + 10);
    keyboard.Stroke(Qt::Key_Return, 100);
    EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 9"));
    EXPECT_EQ(Kalvena->WrongCount, 8);
}

TEST_F(StrayInputTest, AStrokeAfterTheIntervalAnswersTheNextQuestion) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(2);
    Keyboard keyboard;
    keyboard.Stroke(Qt::Key_Return, 0);
    keyboard.Stroke(Qt::Key_Return, DoubleClickMs() + 10);
    EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 3"));
    keyboard.Stroke(Qt::Key_Space, DoubleClickMs() + 10);
    EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 4"));

    // A burst goes on as long as its strokes come within the interval of
    // each other.
    keyboard.Stroke(Qt::Key_Return, DoubleClickMs() - 100);
    keyboard.Stroke(Qt::Key_Return, DoubleClickMs() - 100);
    EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 4"));
    keyboard.Stroke(Qt::Key_Return, DoubleClickMs() + 10);
    EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 5"));
    EXPECT_EQ(Kalvena->WrongCount, 4);
}

TEST_F(StrayInputTest, AStrayEnterHeldDownAnswersNothing) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(2);
    Keyboard keyboard;
    keyboard.Stroke(Qt::Key_Return, 0);
    keyboard.Stroke(Qt::Key_Return, 150);
    keyboard.Repeat(Qt::Key_Return, 5);
    EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 2"));
    EXPECT_EQ(Kalvena->WrongCount, 1);
}

}  // namespace
