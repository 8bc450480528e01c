#include <gtest/gtest.h>

#include <sys/resource.h>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <csignal>
#include <filesystem>

#include "app/application.h"
#include "app/colors.h"
#include "content/jpeg/jpeg_codec.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

class RegistrationWindowTest : public ::testing::Test {
protected:
    void TearDown() override { app::App().SetClientAreaOverride(std::nullopt); }
    testsupport::TemporaryWorkingDirectory directory;
};

TEST_F(RegistrationWindowTest, StartsAloneWithAZeroStateAndAnEmptyLog) {
    driver::StartProgram();
    EXPECT_EQ(app::App().LiveFormCount(), 1);
    EXPECT_EQ(app::App().MainForm(), Kalvena.data());
    EXPECT_EQ(Themes, nullptr);
    EXPECT_EQ(Results, nullptr);
    const engine::TestState& state = *Kalvena;
    EXPECT_EQ(state.RightCount + state.WrongCount + state.CurrentQuestion + state.QuestionOrdinal + state.WalkBase +
                  state.QuestionsToAsk + state.BankSize + state.AskedIndex,
              0);
    EXPECT_EQ(state.AskedList, (std::array<std::int32_t, 20>{}));
    EXPECT_EQ(Kalvena->windowTitle(), QStringLiteral("Калвена"));
    EXPECT_EQ(Kalvena->focusWidget(), Kalvena->Start);
    EXPECT_TRUE(std::filesystem::exists("Results.txt"));
    EXPECT_EQ(driver::LogBytes(), "");
    EXPECT_FALSE(Kalvena->LogWarning->isVisible());
}

TEST_F(RegistrationWindowTest, AnEmptyFieldRefusesSilently) {
    driver::StartProgram();
    for (const auto& [name, platoon] : {std::pair{"", ""}, std::pair{"Иванов", ""}, std::pair{"", "101"}}) {
        driver::Register(QString::fromUtf8(name), QString::fromUtf8(platoon));
        EXPECT_TRUE(Kalvena->isVisible());
        EXPECT_EQ(Themes, nullptr);
        EXPECT_TRUE(testsupport::ShownExceptions().isEmpty());
    }
    app::App().DestroyForms();
    EXPECT_EQ(driver::LogBytes(), "");
}

TEST_F(RegistrationWindowTest, BlankFieldsRefuseAsEmptyOnes) {
    driver::StartProgram();
    // A tab becomes a space, and a no-break space is a space too.
    for (const auto& [name, platoon] : {std::pair{" ", " "}, std::pair{"   ", "101"}, std::pair{"Иванов", "  "},
                                        std::pair{"\t", "101"}, std::pair{"Иванов", "\u00A0"}}) {
        driver::Register(QString::fromUtf8(name), QString::fromUtf8(platoon));
        EXPECT_TRUE(Kalvena->isVisible()) << name << '|' << platoon;
        EXPECT_EQ(Themes, nullptr) << name << '|' << platoon;
    }
    app::App().DestroyForms();
    EXPECT_EQ(driver::LogBytes(), "");
    EXPECT_TRUE(testsupport::ShownExceptions().isEmpty());
}

TEST_F(RegistrationWindowTest, SpacesAroundANameAreLoggedAsTyped) {
    driver::StartProgram();
    driver::Register(QStringLiteral("  Иванов  Иван "), QStringLiteral(" 101"));
    ASSERT_NE(Themes, nullptr);
    EXPECT_FALSE(Kalvena->isVisible());
    EXPECT_TRUE(Themes->isVisible());
    EXPECT_TRUE(Themes->T[0]->isChecked());
    EXPECT_EQ(Themes->focusWidget(), Themes->Start);
    QTest::mouseClick(Themes->exit, Qt::LeftButton);
    app::App().DestroyForms();
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251("  Иванов  Иван \r\n 101\r\n"));
}

TEST_F(RegistrationWindowTest, FieldsKeepOnlyWhatTheLogCanHold) {
    driver::StartProgram();
    Kalvena->Surname->insert(QStringLiteral("Ёлкин ☺ Z%s 😀"));
    EXPECT_EQ(Kalvena->Surname->text(), QStringLiteral("Ёлкин  Z%s "));
    Kalvena->wzvod->insert(
        QStringLiteral("1\x01"
                       "0☺"));
    QTest::keyClicks(Kalvena->wzvod, QStringLiteral("1"));
    EXPECT_EQ(Kalvena->wzvod->text(), QStringLiteral("101"));
}

TEST_F(RegistrationWindowTest, PastedSeparatorsBecomeSpaces) {
    driver::StartProgram();
    QApplication::clipboard()->setText(QStringLiteral("Иван\tИванов"));
    Kalvena->Surname->setFocus();
    QTest::keySequence(Kalvena->Surname, QKeySequence::Paste);
    EXPECT_EQ(Kalvena->Surname->text(), QStringLiteral("Иван Иванов"));

    // Every kind of line break is one space; the cursor stays after the paste.
    Kalvena->Surname->clear();
    Kalvena->Surname->insert(QStringLiteral("а\r\nб\nв\rг\u2028д") + QStringLiteral("😀е"));
    EXPECT_EQ(Kalvena->Surname->text(), QStringLiteral("а б в г де"));
    EXPECT_EQ(Kalvena->Surname->cursorPosition(), 10);
    Kalvena->Surname->setCursorPosition(2);
    Kalvena->Surname->insert(QStringLiteral("\t😀"));
    EXPECT_EQ(Kalvena->Surname->text(), QStringLiteral("а  б в г де"));
    EXPECT_EQ(Kalvena->Surname->cursorPosition(), 3);

    driver::Register(QStringLiteral("Иван\tИванов"), QStringLiteral("1\n01"));
    app::App().DestroyForms();
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251("Иван Иванов\r\n1 01\r\n"));
}

TEST_F(RegistrationWindowTest, DroppedCharactersAreNotedUntilTheNextEdit) {
    driver::StartProgram();
    QLabel* note = Kalvena->DroppedNote;
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(note->text(), QStringLiteral("Некоторые символы не поддерживаются и были удалены"));

    // A paste that leaves nothing behind still says why the field is empty.
    Kalvena->Surname->insert(QStringLiteral("漢字😀"));
    EXPECT_EQ(Kalvena->Surname->text(), QString());
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(Kalvena->Surname->accessibleDescription(), note->text());
    EXPECT_LE(Kalvena->wzvod->geometry().bottom(), note->geometry().top());
    EXPECT_LE(note->geometry().bottom(), Kalvena->LogWarning->geometry().top());

    QTest::keyClicks(Kalvena->Surname, QStringLiteral("Z"));
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(Kalvena->Surname->accessibleDescription(), QString());

    // A tab is no loss; a drop in the other field is noted too, and
    // emptying the fields after a test clears the note.
    Kalvena->wzvod->insert(QStringLiteral("1\t2"));
    EXPECT_FALSE(note->isVisible());
    Kalvena->wzvod->insert(QStringLiteral("☺"));
    EXPECT_TRUE(note->isVisible());
    Kalvena->wzvod->clear();
    EXPECT_FALSE(note->isVisible());
}

TEST_F(RegistrationWindowTest, FieldsAreNamedByTheirLabels) {
    driver::StartProgram();
    EXPECT_EQ(Kalvena->Surname->accessibleName(), QStringLiteral("Фамилия, имя, отчество студента"));
    EXPECT_EQ(Kalvena->wzvod->accessibleName(), QStringLiteral("Учебный взвод"));
    EXPECT_EQ(Kalvena->FIO->buddy(), Kalvena->Surname);
    EXPECT_EQ(Kalvena->vzvod->buddy(), Kalvena->wzvod);
}

TEST_F(RegistrationWindowTest, WarnsWhileResultsCannotBeSaved) {
    std::filesystem::create_directory("Results.txt");
    driver::StartProgram();
    EXPECT_TRUE(Kalvena->LogWarning->isVisible());
    EXPECT_TRUE(Kalvena->LogWarning->text().contains(QStringLiteral("не сохраняются")));

    // The test goes on without a log.
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(11);
    driver::AnswerAllAndFinish(0);
    EXPECT_TRUE(Kalvena->isVisible());
    EXPECT_TRUE(Kalvena->LogWarning->isVisible());
    EXPECT_TRUE(testsupport::ShownExceptions().isEmpty());

    // Once the file can be written again, the next activation finds it,
    // and the entry kept in memory reaches it.
    std::filesystem::remove("Results.txt");
    driver::Register(QStringLiteral("Петров"), QStringLiteral("102"));
    QTest::mouseClick(Themes->exit, Qt::LeftButton);
    EXPECT_FALSE(Kalvena->LogWarning->isVisible());
    app::App().DestroyForms();
    EXPECT_EQ(driver::LogBytes(),
              driver::Cp1251("Иванов\r\n101\r\nПравильных ответов 0 из 8\r\n\r\nПетров\r\n102\r\n"));
}

// Writes to regular files stop at `bytes` while the object lives, as on a
// full disk; the process is not signalled for it.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(RegistrationWindowTest, AFullDiskKeepsTheTestGoingAndLosesNothing) {
    driver::StartProgram();
    {
        const FileSizeLimit fullDisk(0);
        driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
        driver::ChooseTheme(11);
        driver::AnswerAllAndFinish(0);
        EXPECT_TRUE(Kalvena->isVisible());
        EXPECT_TRUE(Kalvena->LogWarning->isVisible());
        EXPECT_EQ(driver::LogBytes(), "");
    }
    driver::Register(QStringLiteral("Петров"), QStringLiteral("102"));
    driver::ChooseTheme(11);
    driver::AnswerAllAndFinish(0);
    EXPECT_FALSE(Kalvena->LogWarning->isVisible());
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251("Иванов\r\n101\r\nПравильных ответов 0 из 8\r\n\r\n"
                                                 "Петров\r\n102\r\nПравильных ответов 0 из 8\r\n\r\n"));
    EXPECT_TRUE(testsupport::ShownExceptions().isEmpty());
}

TEST_F(RegistrationWindowTest, ShowsThePhotographStretchedIntoItsBox) {
    app::App().SetClientAreaOverride(QRect(0, 0, 750, 540));
    driver::StartProgram();
    const QImage shot = Kalvena->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect box = Kalvena->Image1->geometry();
    ASSERT_EQ(box, QRect(202, 117, 345, 236));
    int photographPixels = 0;
    for (int y = box.top(); y <= box.bottom(); y += 4) {
        for (int x = box.left(); x <= box.right(); x += 4) {
            if (QColor(shot.pixel(x, y)) != app::clCream) ++photographPixels;
        }
    }
    // The whole box is covered by the photograph, not the window's cream.
    EXPECT_GT(photographPixels, (box.width() / 4) * (box.height() / 4) * 9 / 10);
    EXPECT_EQ(QColor(shot.pixel(box.left() - 3, box.top() - 3)), app::clCream);

    // Decoded on the first paint, never again.
    const std::uint64_t callsAfterFirstPaint = jpeg::LibjpegCallCount();
    Kalvena->grab();
    Kalvena->Image1->repaint();
    EXPECT_EQ(jpeg::LibjpegCallCount(), callsAfterFirstPaint);
}

TEST_F(RegistrationWindowTest, ControlsSpreadOnALargerWorkAreaAndKeepTheirSizes) {
    app::App().SetClientAreaOverride(QRect(0, 0, 1000, 720));
    driver::StartProgram();
    EXPECT_EQ(Kalvena->Start->geometry(), QRect(323, 677, 188, 25));
    EXPECT_EQ(Kalvena->Image1->size(), QSize(345, 236));
    EXPECT_EQ(Kalvena->Surname->size(), QSize(369, 27));
    EXPECT_EQ(Kalvena->kalvena->font().pixelSize(), 67);
}

}  // namespace
