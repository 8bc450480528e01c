// Input aimed at one window never lands on the window that replaces it.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QStyleHints>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <string>

#include "app/application.h"
#include "tests/support/gui_support.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

using Milliseconds = std::chrono::milliseconds;

// The stray-input guard's clock, in the test's hands: while a Mouse or a
// Keyboard is in use it stands still between their strokes; otherwise each
// event comes a second after the one before, as the driver's clicks need.
class InputClock {
public:
    // Once the program has started, which sets a clock of its own.
    void Install() {
        app::App().StrayInput().SetClock([this] {
            now_ += step_;
            return now_;
        });
    }
    InputClock() = default;
    ~InputClock() { testsupport::UseSteppingInputClock(); }
    InputClock(const InputClock&) = delete;
    InputClock& operator=(const InputClock&) = delete;

    void Advance(int ms) { now_ += Milliseconds{ms}; }
    void Hold() { step_ = Milliseconds{0}; }
    void Step() { step_ = Milliseconds{1000}; }
    quint64 Now() const { return static_cast<quint64>(now_.count()); }

private:
    Milliseconds now_{1000000};
    Milliseconds step_{1000};
};

// The left button at `button`'s centre, delivered through the window system
// as a real mouse would, with its own clock in milliseconds: Qt itself makes
// a double-click of two presses close in time.
class Mouse {
public:
    explicit Mouse(InputClock& clock) : clock_(clock), now_(static_cast<ulong>(QTest::lastMouseTimestamp) + 10000) {
        clock_.Hold();
    }
    // Later QTest clicks must not look like part of these.
    ~Mouse() {
        QTest::lastMouseTimestamp = static_cast<int>(now_ + 10000);
        clock_.Step();
    }

    void Press(QWidget* button, int afterMs) { Send(button, QEvent::MouseButtonPress, Qt::LeftButton, afterMs); }
    void Release(QWidget* button, int afterMs) { Send(button, QEvent::MouseButtonRelease, Qt::NoButton, afterMs); }
    void Click(QWidget* button, int afterMs) {
        Press(button, afterMs);
        Release(button, 40);
    }

private:
    void Send(QWidget* button, QEvent::Type type, Qt::MouseButtons state, int afterMs) {
        now_ += static_cast<ulong>(afterMs);
        clock_.Advance(afterMs);
        QWindow* window = button->window()->windowHandle();
        const QPoint at = button->mapTo(button->window(), button->rect().center());
        qt_handleMouseEvent(window, at, window->mapToGlobal(at), state, Qt::LeftButton, type, Qt::NoModifier,
                            static_cast<int>(now_));
        driver::Settle();
    }

    InputClock& clock_;
    ulong now_;
};

// How the window system repeats a key held down.
enum class Repeats {
    Marked,    // presses marked as repeats
    Unmarked,  // presses not marked as such
    Pairs,     // a release and a press at once, neither marked
};

// Keys struck where the focus is in the window on screen. Without the
// accessibility bridge they come straight from the window system and carry
// the moment they were struck; with it (as a screen reader has it) they are
// passed on later, queued, and carry no time at all.
class Keyboard {
public:
    Keyboard(InputClock& clock, bool bridge) : clock_(clock), bridge_(bridge) { clock_.Hold(); }
    ~Keyboard() { clock_.Step(); }

    // Strikes `key` `afterMs` after the last stroke, and lets it go 40 ms
    // later: Space presses a button as it is let go.
    void Stroke(Qt::Key key, int afterMs, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Press(key, afterMs, modifiers);
        Release(key, 40, modifiers);
    }
    void Press(Qt::Key key, int afterMs, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool marked = false) {
        Send(QEvent::KeyPress, key, modifiers, afterMs, marked);
    }
    void Release(Qt::Key key, int afterMs, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool marked = false) {
        Send(QEvent::KeyRelease, key, modifiers, afterMs, marked);
    }
    // The key, struck now, held down for `holdMs`: after the keyboard's
    // delay, a repeat every 33 ms, then let go.
    void Hold(Qt::Key key, int holdMs, Repeats repeats) {
        Press(key, 0);
        const int delay = std::min(660, holdMs - 100);
        int held = 0;
        for (int next = delay; next < holdMs; next += 33) {
            const int after = next - held;
            held = next;
            if (repeats == Repeats::Pairs) {
                Release(key, after);
                Press(key, 0);
            } else {
                Press(key, after, Qt::NoModifier, repeats == Repeats::Marked);
            }
        }
        Release(key, holdMs - held);
    }

private:
    void Send(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers, int afterMs, bool autoRepeat) {
        clock_.Advance(afterMs);
        QWidget* form = app::App().ActiveForm();
        if (form == nullptr) return;
        QWidget* target = form->focusWidget() != nullptr ? form->focusWidget() : form;
        const QString text = key == Qt::Key_Space                            ? QStringLiteral(" ")
                             : key == Qt::Key_Return || key == Qt::Key_Enter ? QStringLiteral("\r")
                                                                             : QString(QChar(key)).toLower();
        auto* event = new QKeyEvent(type, key, modifiers, text, autoRepeat);
        if (bridge_) {
            QCoreApplication::postEvent(target, event);
        } else {
            event->setTimestamp(clock_.Now());
            QApplication::sendEvent(target, event);
            delete event;
        }
        driver::Settle();
    }

    InputClock& clock_;
    bool bridge_;
};

int DoubleClickMs() { return QGuiApplication::styleHints()->mouseDoubleClickInterval(); }

QString OnScreen() {
    TQuestionWindow* window = driver::QuestionOnScreen();
    return window != nullptr ? window->windowTitle() : QStringLiteral("no question");
}

int QuestionWindowsShown() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return static_cast<int>(std::ranges::count_if(windows, [](QWidget* window) {
        return qobject_cast<TQuestionWindow*>(window) != nullptr && window->isVisible();
    }));
}

// Every case runs twice: with the accessibility bridge off, and on, as a
// screen reader has it.
class StrayInputTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        driver::StartProgram();
        clock.Install();
        QAccessible::setActive(GetParam());
        Kalvena->Surname->setText(QStringLiteral("Иванов"));
        Kalvena->wzvod->setText(QStringLiteral("101"));
    }
    // The program ends here, so its pending entry goes to this test's log
    // and not to the next test's, which the log follows by name.
    void TearDown() override {
        QAccessible::setActive(false);
        testsupport::ResetApplication();
    }
    bool Bridge() const { return GetParam(); }

    testsupport::TemporaryWorkingDirectory directory;
    InputClock clock;
};

TEST_P(StrayInputTest, ADoubleClickOnTheForwardButtonAdvancesOneQuestion) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(2);
    Mouse mouse(clock);
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

TEST_P(StrayInputTest, ADoubleClickOnRegistrationStopsAtTheThemeChoice) {
    Mouse mouse(clock);
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

TEST_P(StrayInputTest, APressMadeBeforeAWindowAppearedDoesNotClickIt) {
    Mouse mouse(clock);
    mouse.Press(Kalvena->Start, 0);
    // The theme choice opens while the button is still held down.
    Kalvena->StartClick();
    ASSERT_NE(Themes, nullptr);
    mouse.Release(Themes->Start, DoubleClickMs() + 200);
    ASSERT_TRUE(Themes != nullptr && Themes->isVisible());
    EXPECT_EQ(driver::QuestionOnScreen(), nullptr);
}

TEST_P(StrayInputTest, AHeldEnterAnswersOneQuestionAFreshEnterTheNext) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(2);
    TQuestionWindow* first = driver::QuestionOnScreen();
    Keyboard keyboard(clock, Bridge());
    keyboard.Press(Qt::Key_Return, 0);
    TQuestionWindow* second = driver::QuestionOnScreen();
    ASSERT_NE(second, first);
    for (int repeat = 0; repeat < 5; ++repeat) keyboard.Press(Qt::Key_Return, 33, Qt::NoModifier, true);
    keyboard.Release(Qt::Key_Return, 33);
    ASSERT_EQ(driver::QuestionOnScreen(), second);
    EXPECT_EQ(Kalvena->WrongCount, 1);
    // Enter on a fresh question counts a wrong answer as always.
    keyboard.Stroke(Qt::Key_Return, DoubleClickMs() + 10);
    EXPECT_EQ(Kalvena->WrongCount, 2);
    EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 3"));
}

// Space presses "Перейти к следующему вопросу" when Tab has taken the focus
// there; the window opens on the answers.
void FocusForwardButton() { driver::QuestionOnScreen()->Start->setFocus(Qt::TabFocusReason); }

// The second of two Enter or Space strokes as fast as a double-click was
// made before the student could see the question the first one opened: it
// neither answers that question nor chooses an answer in it.
TEST_P(StrayInputTest, TwoStrokesOfEnterOrSpaceAsFastAsADoubleClickAnswerOneQuestion) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(2);
    Keyboard keyboard(clock, Bridge());
    int question = 1;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        for (const int apart : {80, 150, 250}) {
            if (key == Qt::Key_Space) FocusForwardButton();
            keyboard.Stroke(key, DoubleClickMs() + 10);
            keyboard.Stroke(key, apart);
            ++question;
            ASSERT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос %1").arg(question)) << key << " " << apart;
            EXPECT_EQ(driver::QuestionOnScreen()->ChosenOption(), 0) << key << " " << apart;
        }
    }
    // The keypad's Enter, and Enter after Space, alike.
    keyboard.Stroke(Qt::Key_Enter, DoubleClickMs() + 10, Qt::KeypadModifier);
    keyboard.Stroke(Qt::Key_Enter, 120, Qt::KeypadModifier);
    FocusForwardButton();
    keyboard.Stroke(Qt::Key_Space, DoubleClickMs() + 10);
    keyboard.Stroke(Qt::Key_Return, 100);
    EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 9"));
    EXPECT_EQ(Kalvena->WrongCount, 8);
}

TEST_P(StrayInputTest, AStrokeAfterTheIntervalAnswersTheNextQuestion) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(2);
    Keyboard keyboard(clock, Bridge());
    keyboard.Stroke(Qt::Key_Return, 0);
    keyboard.Stroke(Qt::Key_Return, DoubleClickMs() + 10);
    EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 3"));
    FocusForwardButton();
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

TEST_P(StrayInputTest, AStrayEnterHeldDownAnswersNothing) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(2);
    Keyboard keyboard(clock, Bridge());
    keyboard.Stroke(Qt::Key_Return, 0);
    keyboard.Press(Qt::Key_Return, 150);
    keyboard.Press(Qt::Key_Return, 500, Qt::NoModifier, true);
    for (int repeat = 0; repeat < 5; ++repeat) keyboard.Press(Qt::Key_Return, 30, Qt::NoModifier, true);
    keyboard.Release(Qt::Key_Return, 30);
    EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 2"));
    EXPECT_EQ(Kalvena->WrongCount, 1);
}

// Enter held down on a question answers that question only, however long
// it is held and however the window system repeats it; on the last question
// it leaves the results on screen. Let go, a fresh Enter goes on.
struct HeldEnter {
    int holdMs;
    Repeats repeats;
};

class HeldEnterTest : public StrayInputTest {};

TEST_P(HeldEnterTest, AnswersOneQuestionOnAMiddleAndOnTheLastQuestion) {
    for (const HeldEnter held :
         {HeldEnter{500, Repeats::Marked}, HeldEnter{1500, Repeats::Unmarked}, HeldEnter{3000, Repeats::Pairs},
          HeldEnter{900, Repeats::Pairs}, HeldEnter{3000, Repeats::Marked}}) {
        SCOPED_TRACE(testing::Message() << held.holdMs << " ms, repeats " << static_cast<int>(held.repeats));
        driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
        driver::ChooseTheme(11);
        for (int answered = 0; answered < 4; ++answered) driver::Answer(0);
        {
            Keyboard keyboard(clock, Bridge());
            keyboard.Hold(Qt::Key_Return, held.holdMs, held.repeats);
            EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 6"));
            EXPECT_EQ(Kalvena->WrongCount, 5);
            EXPECT_EQ(QuestionWindowsShown(), 1);
            keyboard.Stroke(Qt::Key_Return, DoubleClickMs() + 10);
            EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 7"));
        }
        driver::Answer(0);
        ASSERT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 8"));
        {
            Keyboard keyboard(clock, Bridge());
            keyboard.Hold(Qt::Key_Return, held.holdMs, held.repeats);
            ASSERT_TRUE(Results != nullptr && Results->isVisible());
            EXPECT_FALSE(Kalvena->isVisible());
            EXPECT_EQ(QuestionWindowsShown(), 0);
            keyboard.Stroke(Qt::Key_Return, DoubleClickMs() + 10);
            EXPECT_TRUE(Kalvena->isVisible());
        }
    }
    EXPECT_EQ(driver::LogBytes(), [] {
        std::string log;
        for (int test = 0; test < 5; ++test)
            log += driver::Cp1251("Иванов\r\n101\r\nПравильных ответов 0 из 8\r\n\r\n");
        return log;
    }());
}

// Each key that presses a button, held down since the question before,
// answers nothing here however it repeats; let go, a fresh stroke does.
TEST_P(StrayInputTest, NoKeyThatPressesAButtonActsHeldFromTheQuestionBefore) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(2);
    struct HeldKey {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    int question = 1;
    for (const HeldKey held : {HeldKey{Qt::Key_Return, Qt::NoModifier}, HeldKey{Qt::Key_Enter, Qt::KeypadModifier},
                               HeldKey{Qt::Key_Space, Qt::NoModifier}}) {
        SCOPED_TRACE(held.key);
        Keyboard keyboard(clock, Bridge());
        if (held.key == Qt::Key_Space) FocusForwardButton();
        // Down on one question, released on the next: Space acts on its
        // release, so it is let go there and pressed again.
        keyboard.Press(held.key, DoubleClickMs() + 10, held.modifiers);
        if (held.key == Qt::Key_Space) keyboard.Release(held.key, 40, held.modifiers);
        ++question;
        ASSERT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос %1").arg(question));
        FocusForwardButton();
        if (held.key == Qt::Key_Space) keyboard.Press(held.key, 0, held.modifiers, true);
        for (int repeat = 0; repeat < 5; ++repeat) keyboard.Press(held.key, 600, held.modifiers, true);
        keyboard.Release(held.key, 33, held.modifiers, true);
        EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос %1").arg(question));
        EXPECT_EQ(Kalvena->WrongCount, question - 1);
        FocusForwardButton();
        keyboard.Stroke(held.key, DoubleClickMs() + 10, held.modifiers);
        ++question;
        EXPECT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос %1").arg(question));
    }
}

// Keys that type or choose are the student's own, however soon after Enter
// opened the window: a digit chooses its answer on the next question, and
// a name typed straight after the results goes into the field.
TEST_P(StrayInputTest, KeysThatTypeOrChooseAreNeverKeptBack) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(11);
    {
        Keyboard keyboard(clock, Bridge());
        keyboard.Stroke(Qt::Key_Return, 0);
        ASSERT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 2"));
        keyboard.Stroke(Qt::Key_2, 100);
        EXPECT_EQ(driver::QuestionOnScreen()->ChosenOption(), 2);
        keyboard.Stroke(Qt::Key_3, 60);
        EXPECT_EQ(driver::QuestionOnScreen()->ChosenOption(), 3);
    }
    while (driver::QuestionOnScreen() != nullptr) driver::Answer(0);
    ASSERT_TRUE(Results != nullptr && Results->isVisible());
    Keyboard keyboard(clock, Bridge());
    keyboard.Stroke(Qt::Key_Return, DoubleClickMs() + 10);
    ASSERT_TRUE(Kalvena->isVisible());
    Kalvena->Surname->setFocus(Qt::OtherFocusReason);
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_B, Qt::Key_B}) keyboard.Stroke(key, 80);
    EXPECT_EQ(Kalvena->Surname->text(), QStringLiteral("abb"));
}

// A click on a theme soon after the theme choice appeared is the student's
// own: it is never taken for the second click of the one that opened it.
TEST_P(StrayInputTest, AThemeClickSoonAfterTheWindowAppearedChoosesIt) {
    Mouse mouse(clock);
    mouse.Click(Kalvena->Start, 0);
    ASSERT_TRUE(Themes != nullptr && Themes->isVisible());
    mouse.Click(Themes->T[10], 200);
    EXPECT_TRUE(Themes->T[10]->isChecked());
    mouse.Click(Themes->Start, DoubleClickMs() + 10);
    ASSERT_NE(driver::QuestionOnScreen(), nullptr);
    EXPECT_EQ(Kalvena->QuestionsToAsk, 8);
    EXPECT_EQ(driver::QuestionOnScreen()->Id().theme, 11);
}

// A second Enter that reaches the question it was struck on only after the
// next one appeared (queued, as the accessibility bridge passes keys on)
// answers nothing, and leaves no earlier question on screen; on the last
// question it writes no second result line.
TEST_P(StrayInputTest, EnterQueuedForAQuestionAlreadyAnsweredLeavesOneWindow) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(11);
    const auto strikeTwice = [](TQuestionWindow* window) {
        for (int stroke = 0; stroke < 2; ++stroke) {
            for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QCoreApplication::postEvent(window->focusWidget(),
                                            new QKeyEvent(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")));
            }
        }
        driver::Settle();
    };
    for (int question = 1; question <= 8; ++question) {
        TQuestionWindow* window = driver::QuestionOnScreen();
        ASSERT_NE(window, nullptr) << question;
        strikeTwice(window);
        EXPECT_LE(QuestionWindowsShown(), 1) << question;
        EXPECT_EQ(Kalvena->WrongCount, question);
    }
    ASSERT_TRUE(Results != nullptr && Results->isVisible());
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251("Иванов\r\n101\r\nПравильных ответов 0 из 8\r\n\r\n"));
}

// An earlier question's window takes no answer, whatever reaches it.
TEST_P(StrayInputTest, AnEarlierQuestionTakesNoAnswer) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(11);
    QPointer<TQuestionWindow> earlier = driver::QuestionOnScreen();
    earlier->StartClick();
    TQuestionWindow* second = driver::QuestionOnScreen();
    earlier->StartClick();
    EXPECT_EQ(driver::QuestionOnScreen(), second);
    EXPECT_EQ(Kalvena->WrongCount, 1);
    EXPECT_EQ(QuestionWindowsShown(), 1);
}

// Space on "Прекратить выполнение теста" ends the test only as a press of
// its own: not as the second stroke of a burst that began on the question
// before, nor while held down from there.
TEST_P(StrayInputTest, SpaceOnStopCountsOnlyAsADeliberatePress) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(2);
    Keyboard keyboard(clock, Bridge());
    keyboard.Stroke(Qt::Key_Return, 0);
    driver::QuestionOnScreen()->exit->setFocus();
    keyboard.Stroke(Qt::Key_Space, 150);
    EXPECT_FALSE(app::App().Terminated());
    keyboard.Press(Qt::Key_Space, DoubleClickMs() + 10);
    keyboard.Press(Qt::Key_Return, 20);
    ASSERT_EQ(OnScreen(), QStringLiteral("Калвена: вопрос 3"));
    // Space went down on the question before: held, and let go, here.
    driver::QuestionOnScreen()->exit->setFocus();
    keyboard.Press(Qt::Key_Space, 600, Qt::NoModifier, true);
    keyboard.Release(Qt::Key_Space, 30);
    keyboard.Release(Qt::Key_Return, 10);
    EXPECT_FALSE(app::App().Terminated());
    EXPECT_EQ(Kalvena->WrongCount, 2);
    // On purpose.
    keyboard.Stroke(Qt::Key_Space, DoubleClickMs() + 10);
    EXPECT_TRUE(app::App().Terminated());
}

INSTANTIATE_TEST_SUITE_P(Bridge, StrayInputTest, ::testing::Bool(), [](const ::testing::TestParamInfo<bool>& info) {
    return std::string(info.param ? "AccessibilityOn" : "AccessibilityOff");
});
INSTANTIATE_TEST_SUITE_P(Bridge, HeldEnterTest, ::testing::Bool(), [](const ::testing::TestParamInfo<bool>& info) {
    return std::string(info.param ? "AccessibilityOn" : "AccessibilityOff");
});

}  // namespace
