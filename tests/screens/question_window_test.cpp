#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <functional>
#include <vector>

#include "app/application.h"
#include "app/layout.h"
#include "app/radio_button.h"
#include "screens/exam_operations.h"
#include "tests/support/gui_support.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

class QuestionWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        app::App().SetClientAreaOverride(QRect(0, 0, 1000, 720));
        driver::StartProgram();
        Kalvena->QuestionOrdinal = 3;
    }
    void TearDown() override { app::App().SetClientAreaOverride(std::nullopt); }

    TQuestionWindow* Open(engine::QuestionId id) { return &OpenQuestionWindow(id); }

    testsupport::TemporaryWorkingDirectory directory;
};

TEST_F(QuestionWindowTest, CarriesItsNamesCaptionAndRecord) {
    TQuestionWindow* window = Open({11, 1});
    EXPECT_EQ(window->objectName(), QStringLiteral("q1101"));
    EXPECT_EQ(window->ClassName(), QStringLiteral("Tq1101"));
    EXPECT_EQ(window->property("sourceUnit").toString(), QStringLiteral("T11q1"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Калвена: вопрос 3"));
    EXPECT_EQ(QuestionWindowReference({11, 1}), window);

    TQuestionWindow* tq101 = Open({10, 1});
    EXPECT_EQ(tq101->Label1->text(), QStringLiteral("В мотострелковый полк входят:"));
    EXPECT_EQ(tq101->v[2]->text(), QStringLiteral("3 мсб"));
    // The caption is set once, at construction.
    Kalvena->QuestionOrdinal = 4;
    EXPECT_EQ(tq101->windowTitle(), QStringLiteral("Калвена: вопрос 3"));
}

TEST_F(QuestionWindowTest, OpensWithNoOptionChosenAndTheFocusOnTheAnswers) {
    TQuestionWindow* window = Open({1, 2});
    for (QRadioButton* option : window->v) EXPECT_FALSE(option->isChecked());
    EXPECT_EQ(window->focusWidget(), window->v[0]);
    // The answers are one tab stop: the first while none is chosen, then the
    // chosen one.
    EXPECT_TRUE(window->v[0]->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(window->v[1]->focusPolicy() & Qt::TabFocus);
    QTest::mouseClick(window->v[1], Qt::LeftButton);
    EXPECT_TRUE(window->v[1]->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(window->v[0]->focusPolicy() & Qt::TabFocus);
    // Choosing an answer leaves "Перейти к следующему вопросу" the default.
    EXPECT_TRUE(window->Start->isDefault());
    // The chosen row is shaded, past its dot and caption; the others not.
    const auto shadeAtRightEnd = [](QRadioButton* option) {
        const QImage row = option->grab().toImage();
        return row.pixelColor(row.width() - 6, row.height() / 2);
    };
    EXPECT_EQ(shadeAtRightEnd(window->v[1]), app::kChosenRowShade);
    EXPECT_NE(shadeAtRightEnd(window->v[0]), app::kChosenRowShade);
}

TEST_F(QuestionWindowTest, TabGoesToTheAnswersThenOnThenStopAndTheArrowsChoose) {
    TQuestionWindow* window = Open({1, 2});
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ASSERT_EQ(window->focusWidget(), window->v[0]);
    driver::PressKey(Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget(), window->Start);
    driver::PressKey(Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget(), window->exit);
    // Passed by the focus, "Перейти…" stays the default button, framed.
    EXPECT_TRUE(window->Start->isDefault());
    driver::PressKey(Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget(), window->v[0]);
    // Back from the answers is the button that moves on, never the one that
    // ends the test.
    driver::PressKey(Qt::Key_Backtab);
    EXPECT_EQ(window->focusWidget(), window->Start);
    driver::PressKey(Qt::Key_Backtab);
    ASSERT_EQ(window->focusWidget(), window->v[0]);
    // Reached by Tab, an answer is not chosen yet; the arrows choose.
    EXPECT_FALSE(window->v[0]->isChecked());
    driver::PressKey(Qt::Key_Down);
    EXPECT_TRUE(window->v[1]->isChecked());
    EXPECT_EQ(window->focusWidget(), window->v[1]);
    driver::PressKey(Qt::Key_Down);
    driver::PressKey(Qt::Key_Up);
    driver::PressKey(Qt::Key_Up);
    EXPECT_TRUE(window->v[0]->isChecked());
    // Once one is chosen, Tab comes back to it.
    driver::PressKey(Qt::Key_Down);
    driver::PressKey(Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget(), window->Start);
    driver::PressKey(Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget(), window->exit);
    driver::PressKey(Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget(), window->v[1]);
    EXPECT_TRUE(window->v[1]->isChecked());

    // Space chooses the answer that the window opened on.
    TQuestionWindow* fresh = Open({1, 3});
    ASSERT_TRUE(QTest::qWaitForWindowActive(fresh));
    ASSERT_EQ(fresh->focusWidget(), fresh->v[0]);
    driver::PressKey(Qt::Key_Space);
    EXPECT_TRUE(fresh->v[0]->isChecked());
}

// No single key from where the window opens, nor any arrow from either
// button, reaches "Прекратить выполнение теста"; pressed on purpose it
// ends the test at once.
TEST_F(QuestionWindowTest, TheStopButtonIsNeverOneStrayKeyAway) {
    int number = 1;
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right,
                              Qt::Key_Space, Qt::Key_1, Qt::Key_4}) {
        TQuestionWindow* window = Open({2, number++});
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        driver::PressKey(key);
        EXPECT_NE(window->focusWidget(), window->exit) << key;
    }
    TQuestionWindow* window = Open({2, number});
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    for (QWidget* from : std::initializer_list<QWidget*>{window->Start, window->exit}) {
        for (const Qt::Key arrow : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Left, Qt::Key_Right}) {
            from->setFocus();
            driver::PressKey(arrow);
            EXPECT_NE(qobject_cast<QRadioButton*>(window->focusWidget()), nullptr) << arrow;
        }
    }
    EXPECT_FALSE(app::App().Terminated());

    // On purpose: Tab to it, then Space.
    window->v[0]->setFocus();
    driver::PressKey(Qt::Key_Tab);
    driver::PressKey(Qt::Key_Tab);
    ASSERT_EQ(window->focusWidget(), window->exit);
    driver::PressKey(Qt::Key_Space);
    EXPECT_TRUE(app::App().Terminated());
}

TEST_F(QuestionWindowTest, ADigitThenEnterAnswersWithThatOption) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("1"));
    driver::ChooseTheme(3);
    for (const Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
        TQuestionWindow* window = driver::QuestionOnScreen();
        const int right = window->Record().right;
        driver::PressKey(static_cast<Qt::Key>(Qt::Key_0 + right));
        ASSERT_EQ(window->focusWidget(), window->v.at(static_cast<std::size_t>(right - 1)));
        driver::PressKey(enter, enter == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        ASSERT_NE(driver::QuestionOnScreen(), window);
    }
    EXPECT_EQ(Kalvena->RightCount, 2);
    EXPECT_EQ(Kalvena->WrongCount, 0);
    EXPECT_EQ(driver::QuestionOnScreen()->windowTitle(), QStringLiteral("Калвена: вопрос 3"));
}

// Wherever the focus stands, Enter moves on: a student who tabbed one step
// too far does not end the test with it.
TEST_F(QuestionWindowTest, EnterInAnyFocusPositionMovesOnAndNeverEndsTheTest) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("1"));
    driver::ChooseTheme(2);
    const std::vector<std::pair<const char*, std::function<QWidget*(TQuestionWindow*)>>> positions{
        {"forward", [](TQuestionWindow* w) { return w->Start; }},
        {"stop", [](TQuestionWindow* w) { return w->exit; }},
        {"option 4", [](TQuestionWindow* w) { return w->v[3]; }},
        {"the window", [](TQuestionWindow* w) { return w; }},
    };
    int asked = 1;
    for (const Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
        for (const auto& [name, focus] : positions) {
            TQuestionWindow* window = driver::QuestionOnScreen();
            ASSERT_NE(window, nullptr) << name;
            focus(window)->setFocus();
            driver::PressKey(enter, enter == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            ++asked;
            ASSERT_FALSE(app::App().Terminated()) << name << " " << enter;
            ASSERT_NE(driver::QuestionOnScreen(), nullptr) << name;
            EXPECT_EQ(driver::QuestionOnScreen()->windowTitle(), QStringLiteral("Калвена: вопрос %1").arg(asked))
                << name << " " << enter;
        }
    }
    EXPECT_EQ(Kalvena->WrongCount, 8);
    EXPECT_FALSE(app::App().Terminated());
}

TEST_F(QuestionWindowTest, HasMinimiseAndMaximiseButNoCloseBox) {
    const Qt::WindowFlags flags = Open({3, 3})->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMaximizeButtonHint);
}

TEST_F(QuestionWindowTest, ComesBackFromMaximisedCentredInsideTheWorkArea) {
    app::App().SetClientAreaOverride(std::nullopt);
    TQuestionWindow* window = Open({3, 3});
    ASSERT_TRUE(window->isMaximized());
    window->showNormal();
    driver::Settle();
    const QRect area = app::App().WorkArea();
    EXPECT_TRUE(area.contains(window->frameGeometry()));
    EXPECT_LT(window->width(), area.width());
    EXPECT_LE(window->width(), 800);
    EXPECT_NEAR(window->geometry().center().x(), area.center().x(), 1);
}

TEST_F(QuestionWindowTest, NumberKeysChooseAnOptionAsAClickWould) {
    TQuestionWindow* window = Open({1, 2});
    // The arrows follow the application's focus, which needs an active window.
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const std::array<std::pair<Qt::Key, Qt::KeyboardModifiers>, 4> keys{{{Qt::Key_3, Qt::NoModifier},
                                                                         {Qt::Key_1, Qt::KeypadModifier},
                                                                         {Qt::Key_4, Qt::NoModifier},
                                                                         {Qt::Key_2, Qt::KeypadModifier}}};
    for (const auto& [key, modifiers] : keys) {
        QTest::keyClick(window->focusWidget(), key, modifiers);
        QRadioButton* chosen = window->v.at(static_cast<std::size_t>(key - Qt::Key_1));
        EXPECT_TRUE(chosen->isChecked()) << key;
        EXPECT_EQ(window->focusWidget(), chosen) << key;
        EXPECT_TRUE(chosen->focusPolicy() & Qt::TabFocus) << key;
    }
    // From the chosen option the arrows move the choice, and Tab leaves the
    // group for the forward button.
    QTest::keyClick(window->focusWidget(), Qt::Key_Up);
    EXPECT_TRUE(window->v[0]->isChecked());
    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(window->focusWidget(), window->Start);
    QTest::keyClick(window->focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(window->focusWidget(), window->v[0]);

    // Other keys choose nothing.
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_5, Qt::KeyboardModifiers{}}, std::pair{Qt::Key_0, Qt::KeyboardModifiers{}},
          std::pair{Qt::Key_2, Qt::KeyboardModifiers{Qt::ControlModifier}},
          std::pair{Qt::Key_3, Qt::KeyboardModifiers{Qt::AltModifier}}}) {
        QTest::keyClick(window->focusWidget(), key, modifiers);
        EXPECT_TRUE(window->v[0]->isChecked()) << key;
    }
    EXPECT_EQ(window->KeysHint->text(), QStringLiteral("Клавиши 1–4 — выбор ответа, Enter — следующий вопрос"));
}

TEST_F(QuestionWindowTest, AWholeTestByKeyboardAloneCountsTheChoicesMade) {
    driver::PressKey(Qt::Key_Tab);  // to "Выход"
    driver::PressKey(Qt::Key_Tab);  // to the full name
    QTest::keyClicks(Kalvena->focusWidget(), QStringLiteral("Ivanov"));
    driver::PressKey(Qt::Key_Tab);
    QTest::keyClicks(Kalvena->focusWidget(), QStringLiteral("101"));
    driver::PressKey(Qt::Key_Tab);
    ASSERT_EQ(Kalvena->focusWidget(), Kalvena->Start);
    driver::PressKey(Qt::Key_Return);
    ASSERT_NE(Themes, nullptr);
    driver::PressKey(Qt::Key_Return);  // theme 1

    int right = 0;
    int asked = 0;
    for (TQuestionWindow* window = driver::QuestionOnScreen(); window != nullptr; window = driver::QuestionOnScreen()) {
        // Each third question is left without a choice; the others vary.
        const int choice = asked % 3 == 2 ? 0 : (asked * 7) % 4 + 1;
        if (choice > 0) {
            driver::PressKey(static_cast<Qt::Key>(Qt::Key_0 + choice), asked % 2 ? Qt::KeypadModifier : Qt::NoModifier);
        }
        driver::PressKey(Qt::Key_Tab);
        if (choice == window->Record().right) ++right;
        ASSERT_EQ(window->focusWidget(), window->Start);
        driver::PressKey(asked % 2 ? Qt::Key_Return : Qt::Key_Space);
        ++asked;
    }
    ASSERT_NE(Results, nullptr);
    EXPECT_EQ(asked, 10);
    EXPECT_EQ(Kalvena->RightCount, right);
    EXPECT_EQ(Kalvena->WrongCount, asked - right);
    driver::PressKey(Qt::Key_Return);
    EXPECT_EQ(
        driver::LogBytes(),
        driver::Cp1251("Ivanov\r\n101\r\n") +
            driver::Cp1251(QStringLiteral("Правильных ответов %1 из 10\r\n\r\n").arg(right).toUtf8().constData()));
}

TEST_F(QuestionWindowTest, TheWindowAndItsPictureHaveAccessibleNames) {
    TQuestionWindow* window = Open({13, 12});
    EXPECT_EQ(window->accessibleDescription(),
              QStringLiteral("Дистанция между ротами и батареями в районе расположения полка составляет до:"));
    for (int number = 14; number <= 20; ++number) {
        TQuestionWindow* picture = Open({5, number});
        ASSERT_NE(picture->Image1, nullptr);
        EXPECT_EQ(picture->Image1->accessibleName(), QStringLiteral("Рисунок к вопросу"));
    }
}

// The window opens on the answers: Space there chooses the first, Enter
// moves on with whatever is chosen.
TEST_F(QuestionWindowTest, SpaceOnOpeningChoosesTheFirstAnswerEnterMovesOn) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("1"));
    driver::ChooseTheme(1);
    TQuestionWindow* first = driver::QuestionOnScreen();
    QTest::keyClick(first->focusWidget(), Qt::Key_Space);
    driver::Settle();
    EXPECT_EQ(driver::QuestionOnScreen(), first);
    EXPECT_EQ(first->ChosenOption(), 1);
    QTest::keyClick(first->focusWidget(), Qt::Key_Return);
    driver::Settle();
    EXPECT_EQ(Kalvena->RightCount + Kalvena->WrongCount, 1);
    TQuestionWindow* second = driver::QuestionOnScreen();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->windowTitle(), QStringLiteral("Калвена: вопрос 2"));
    QTest::keyClick(second->focusWidget(), Qt::Key_Return);
    driver::Settle();
    EXPECT_EQ(Kalvena->RightCount + Kalvena->WrongCount, 2);
    EXPECT_EQ(driver::QuestionOnScreen()->windowTitle(), QStringLiteral("Калвена: вопрос 3"));
}

// The question windows in being that are not on screen.
std::vector<TQuestionWindow*> UnseenQuestionWindows() {
    std::vector<TQuestionWindow*> unseen;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<TQuestionWindow*>(widget);
        if (window != nullptr && !window->isVisible()) unseen.push_back(window);
    }
    return unseen;
}

// While a question is read, the next one's window is made unseen and never
// put on screen, so it takes no input and no screen reader meets it; moving
// on shows that very window, numbered for its turn. None is made after the
// last question.
TEST_F(QuestionWindowTest, TheNextQuestionsWindowIsMadeAheadUnseenAndShownOnMovingOn) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("1"));
    driver::ChooseTheme(1);
    const std::vector<int> walk = driver::ExpectedWalk(1, driver::QuestionOnScreen()->Id().number);
    for (std::size_t asked = 1; asked < walk.size(); ++asked) {
        driver::Settle();
        const std::vector<TQuestionWindow*> unseen = UnseenQuestionWindows();
        ASSERT_EQ(unseen.size(), 1U) << "question " << asked;
        const QPointer<TQuestionWindow> ahead = unseen.front();
        EXPECT_EQ(ahead->Id(), (engine::QuestionId{1, walk[asked]}));
        EXPECT_EQ(ahead->windowHandle(), nullptr);
        driver::Answer(static_cast<int>(asked % 5));
        // The same window, not a new one made in its place.
        ASSERT_NE(ahead, nullptr);
        ASSERT_EQ(driver::QuestionOnScreen(), ahead.data());
        EXPECT_EQ(ahead->windowTitle(), QStringLiteral("Калвена: вопрос %1").arg(asked + 1));
        EXPECT_EQ(ahead->accessibleName(), QStringLiteral("Калвена: вопрос %1 из %2").arg(asked + 1).arg(walk.size()));
    }
    driver::Settle();
    EXPECT_TRUE(UnseenQuestionWindows().empty());
}

TEST_F(QuestionWindowTest, LongSpaceRunsBreakTheLineShortOnesStay) {
    EXPECT_EQ(DisplayedQuestionText(QStringLiteral("Дистанция      между")), QStringLiteral("Дистанция\nмежду"));
    EXPECT_EQ(DisplayedQuestionText(QStringLiteral("a    b")), QStringLiteral("a    b"));
    TQuestionWindow* window = Open({13, 12});
    EXPECT_EQ(window->Label1->text(),
              QStringLiteral("Дистанция между ротами и батареями в районе\nрасположения полка составляет до:"));
    // The design centre, 400 of 800, on a 1000-pixel-wide client area.
    EXPECT_NEAR(window->Label1->geometry().center().x(), 500, 2);
}

TEST_F(QuestionWindowTest, EveryQuestionShowsWholeAtDesignSizeAndOnASmallScreen) {
    for (const QRect client : {QRect(0, 0, 800, 551), QRect(0, 0, 640, 480)}) {
        app::App().SetClientAreaOverride(client);
        for (const content::QuestionRecord& record : content::AllQuestions()) {
            TQuestionWindow* window = Open(record.id);
            const std::string name = window->ClassName().toStdString();
            const QString shown = window->Label1->text();
            const int lines = static_cast<int>(shown.count(QLatin1Char('\n'))) + 1;
            const QFontMetrics metrics(window->Label1->font());
            EXPECT_LE(lines, 3) << name;
            // The text breaks only where its runs of spaces say, and fits.
            EXPECT_GE(window->Label1->height(), window->Label1->heightForWidth(window->Label1->width())) << name;
            EXPECT_LE(window->Label1->heightForWidth(window->Label1->width()), lines * metrics.lineSpacing() + 1)
                << name;
            EXPECT_LE(window->Label1->geometry().right(), client.width()) << name;
            for (QRadioButton* option : window->v) {
                EXPECT_LE(option->geometry().right(), client.width()) << name;
                EXPECT_GE(option->width(), option->sizeHint().width()) << name;
            }
            window->Hide();
            driver::Settle();
        }
    }
}

TEST_F(QuestionWindowTest, DesignPositionsAndTheThreeWindowsThatDiffer) {
    app::App().SetClientAreaOverride(QRect(0, 0, 800, 551));
    TQuestionWindow* plain = Open({1, 1});
    EXPECT_EQ(plain->Start->geometry(), QRect(111, 503, 223, 25));
    EXPECT_EQ(plain->exit->geometry(), QRect(469, 503, 221, 25));
    EXPECT_EQ(plain->v[3]->geometry().top(), 344);

    app::App().SetClientAreaOverride(QRect(0, 0, 800, 550));
    TQuestionWindow* tq914 = Open({9, 14});
    EXPECT_EQ(tq914->DesignClient(), (app::Size{800, 550}));
    EXPECT_EQ(tq914->v[2]->geometry().top(), 279);
    EXPECT_EQ(tq914->Start->geometry().top(), 502);

    app::App().SetClientAreaOverride(QRect(0, 0, 800, 546));
    TQuestionWindow* tq1214 = Open({12, 14});
    EXPECT_EQ(tq1214->v[0]->geometry().top(), 151);
    EXPECT_EQ(tq1214->exit->geometry().top(), 498);

    app::App().SetClientAreaOverride(QRect(0, 0, 800, 551));
    EXPECT_EQ(Open({6, 8})->Start->geometry().left(), 119);
}

TEST_F(QuestionWindowTest, PictureMovesWithTheLayoutAndIsClippedToItsBox) {
    app::App().SetClientAreaOverride(QRect(0, 0, 1000, 720));
    TQuestionWindow* window = Open({5, 14});
    ASSERT_NE(window->Image1, nullptr);
    EXPECT_EQ(window->Image1->geometry(), QRect(420, 78, 161, 33));
    EXPECT_EQ(window->Start->geometry().topLeft(), QPoint(167, 661));

    const QImage shown = window->Image1->grab().toImage();
    EXPECT_EQ(shown.size(), QSize(161, 33));
    const std::vector<unsigned char> bmp = content::PictureFile(*window->Record().picture);
    const QImage whole = QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
    ASSERT_EQ(whole.size(), QSize(595, 446));
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
              whole.copy(0, 0, 161, 33).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(Open({1, 1})->Image1, nullptr);
}

// The pictures are designed centred in the window, under the question
// text; on a wider screen they stay there, between the text and the answers.
TEST_F(QuestionWindowTest, PicturesStayCentredWithTheTextOnAWideScreen) {
    app::App().SetClientAreaOverride(QRect(0, 0, 1024, 768));
    // Tq514's text and picture are both designed about x = 400.
    TQuestionWindow* tq514 = Open({5, 14});
    EXPECT_EQ(tq514->Image1->geometry(), QRect(432, 84, 161, 33));
    EXPECT_NEAR(tq514->Image1->geometry().center().x(), tq514->Label1->geometry().center().x(), 2);
    for (int number = 14; number <= 20; ++number) {
        TQuestionWindow* window = Open({5, number});
        const std::string name = window->ClassName().toStdString();
        ASSERT_NE(window->Image1, nullptr) << name;
        const QRect picture = window->Image1->geometry();
        const QRect label = window->Label1->geometry();
        EXPECT_NEAR(picture.center().x(), 512, 2) << name;
        EXPECT_LE(label.top() + window->Label1->heightForWidth(label.width()), picture.top()) << name;
        EXPECT_LT(picture.bottom(), window->v[0]->geometry().top()) << name;
        window->Hide();
        driver::Settle();
    }
}

// Mean difference of the grey levels of two images of one size, 0 to 255.
double MeanGreyDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
    return sum / (a.width() * a.height());
}

// Runs again with a screen of 192 dpi, where the layout scales up.
TEST_F(QuestionWindowTest, PicturesScaleWithTheLayoutAndShowTheWholeDrawing) {
    const app::Size design{800, 551};
    for (const app::Size client : {app::Size{400, 276}, app::Size{1600, 1102}}) {
        app::App().SetClientAreaOverride(QRect(0, 0, client.width, client.height));
        for (int number = 14; number <= 20; ++number) {
            TQuestionWindow* window = Open({5, number});
            const double scale = app::LayoutScale(design, client, window->logicalDpiX() / 96.0);
            const app::Rect& box = window->Record().picture->box;
            const std::string name = window->ClassName().toStdString() + " at " + std::to_string(scale);
            ASSERT_EQ(window->Image1->size(),
                      QSize(app::ScaleLength(box.width, scale), app::ScaleLength(box.height, scale)))
                << name;

            // The whole picture smoothly scaled by the layout's scale, then
            // clipped to the box.
            const std::vector<unsigned char> bmp = content::PictureFile(*window->Record().picture);
            const QImage whole = QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
            QImage expected(window->Image1->size(), QImage::Format_RGB32);
            expected.fill(Qt::white);
            QPainter painter(&expected);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(
                QRect(0, 0, app::ScaleLength(whole.width(), scale), app::ScaleLength(whole.height(), scale)), whole);
            painter.end();
            const QImage shown = window->Image1->grab().toImage();
            EXPECT_LT(MeanGreyDifference(shown, expected), 2) << name;
            window->Hide();
            driver::Settle();
        }
    }
}

}  // namespace
