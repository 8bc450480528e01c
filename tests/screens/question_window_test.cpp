#include <gtest/gtest.h>

#include <QLineEdit>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/application.h"
#include "tests/support/screen_driver.h"
#include "tests/support/gui_support.h"
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

    TQuestionWindow* Open(engine::QuestionId id) {
        return app::App().CreateForm(QuestionWindowReference(id), id);
    }

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

TEST_F(QuestionWindowTest, OpensWithNoOptionChosenAndTheFocusOnTheForwardButton) {
    TQuestionWindow* window = Open({1, 2});
    for (QRadioButton* option : window->v) {
        EXPECT_FALSE(option->isChecked());
        EXPECT_FALSE(option->focusPolicy() & Qt::TabFocus);
    }
    EXPECT_EQ(window->focusWidget(), window->Start);
    QTest::mouseClick(window->v[1], Qt::LeftButton);
    EXPECT_TRUE(window->v[1]->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(window->v[0]->focusPolicy() & Qt::TabFocus);
}

TEST_F(QuestionWindowTest, HasNoCloseBoxAndNoSystemMenu) {
    const Qt::WindowFlags flags = Open({3, 3})->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
}

TEST_F(QuestionWindowTest, SpaceOrEnterOnOpeningCountsAWrongAnswerAndMovesOn) {
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("1"));
    driver::ChooseTheme(1);
    TQuestionWindow* first = driver::QuestionOnScreen();
    QTest::keyClick(first->focusWidget(), Qt::Key_Space);
    driver::Settle();
    EXPECT_EQ(Kalvena->WrongCount, 1);
    TQuestionWindow* second = driver::QuestionOnScreen();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->windowTitle(), QStringLiteral("Калвена: вопрос 2"));
    QTest::keyClick(second->focusWidget(), Qt::Key_Return);
    driver::Settle();
    EXPECT_EQ(Kalvena->WrongCount, 2);
    EXPECT_EQ(driver::QuestionOnScreen()->windowTitle(), QStringLiteral("Калвена: вопрос 3"));
}

TEST_F(QuestionWindowTest, LongSpaceRunsBreakTheLineShortOnesStay) {
    EXPECT_EQ(DisplayedQuestionText(QStringLiteral("Дистанция      между")), QStringLiteral("Дистанция\nмежду"));
    EXPECT_EQ(DisplayedQuestionText(QStringLiteral("a    b")), QStringLiteral("a    b"));
    TQuestionWindow* window = Open({13, 12});
    EXPECT_EQ(window->Label1->text(),
              QStringLiteral("Дистанция между ротами и батареями в районе\nрасположения полка составляет до:"));
    EXPECT_NEAR(window->Label1->geometry().center().x(), 400 * 1000 / 800, 2);
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

TEST_F(QuestionWindowTest, PictureStaysAtItsDesignPlaceAndIsClippedToItsBox) {
    app::App().SetClientAreaOverride(QRect(0, 0, 1000, 720));
    TQuestionWindow* window = Open({5, 14});
    ASSERT_NE(window->Image1, nullptr);
    EXPECT_EQ(window->Image1->geometry(), QRect(320, 56, 161, 33));
    EXPECT_EQ(window->Start->geometry().topLeft(), QPoint(167, 661));

    const QImage shown = window->Image1->grab().toImage();
    EXPECT_EQ(shown.size(), QSize(161, 33));
    const std::vector<unsigned char> bmp = content::PictureFile(*window->Record().picture);
    const QImage whole = QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
    ASSERT_EQ(whole.size(), QSize(595, 446));
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), whole.copy(0, 0, 161, 33).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(Open({1, 1})->Image1, nullptr);
}

}  // namespace
