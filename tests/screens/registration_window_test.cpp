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
#include <tuple>
#include <vector>

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

// An empty or blank field refuses the registration and says which field
// it is, on screen and to a screen reader, with the focus on it.
TEST_F(RegistrationWindowTest, AnEmptyOrBlankFieldRefusesWithANoteNamingIt) {
    driver::StartProgram();
    const QString nameMissing = QStringLiteral("Введите фамилию, имя и отчество студента");
    const QString platoonMissing = QStringLiteral("Введите учебный взвод");
    // A tab becomes a space, and a no-break space is a space too.
    const std::vector<std::tuple<const char*, const char*, QString>> cases{
        {"", "", nameMissing},      {"Иванов", "", platoonMissing},      {"", "101", nameMissing},
        {" ", " ", nameMissing},    {"   ", "101", nameMissing},         {"Иванов", "  ", platoonMissing},
        {"\t", "101", nameMissing}, {"Иванов", "\u00A0", platoonMissing}};
    for (const auto& [name, platoon, note] : cases) {
        driver::Register(QString::fromUtf8(name), QString::fromUtf8(platoon));
        EXPECT_TRUE(Kalvena->isVisible()) << name << '|' << platoon;
        EXPECT_EQ(Themes, nullptr) << name << '|' << platoon;
        EXPECT_TRUE(Kalvena->EmptyNote->isVisible()) << name << '|' << platoon;
        EXPECT_EQ(Kalvena->EmptyNote->text(), note) << name << '|' << platoon;
        QLineEdit* field = note == nameMissing ? Kalvena->Surname : Kalvena->wzvod;
        EXPECT_EQ(Kalvena->focusWidget(), field) << name << '|' << platoon;
        EXPECT_TRUE(field->accessibleDescription().contains(note)) << name << '|' << platoon;
    }
    // Filling the field takes the note away; a registration goes through.
    Kalvena->wzvod->setText(QStringLiteral("101"));
    EXPECT_FALSE(Kalvena->EmptyNote->isVisible());
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    EXPECT_NE(Themes, nullptr);
    EXPECT_TRUE(testsupport::ShownExceptions().isEmpty());
    app::App().DestroyForms();
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251("Иванов\r\n101\r\n"));
}

TEST_F(RegistrationWindowTest, ANameOrPlatoonThatReadsAsAResultLineIsRefusedAndSaidSo) {
    driver::StartProgram();
    for (const auto& [name, platoon] :
         {std::pair{"Правильных ответов 10 из 10", "101"}, std::pair{"Иванов", " Правильных ответов 8"}}) {
        driver::Register(QString::fromUtf8(name), QString::fromUtf8(platoon));
        EXPECT_TRUE(Kalvena->isVisible()) << name << '|' << platoon;
        EXPECT_EQ(Themes, nullptr) << name << '|' << platoon;
        EXPECT_TRUE(Kalvena->FieldRefusal->isVisible());
    }
    EXPECT_EQ(Kalvena->FieldRefusal->text(), QStringLiteral("Не принято: взвод читается как строка результата"));
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    EXPECT_FALSE(Kalvena->FieldRefusal->isVisible());
    app::App().DestroyForms();
    EXPECT_EQ(driver::LogBytes(), driver::Cp1251("Иванов\r\n101\r\n"));
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

TEST_F(RegistrationWindowTest, FieldsStopAtTheirLengthLimitsAndSaySo) {
    driver::StartProgram();
    QLabel* note = Kalvena->LengthNote;
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(note->text(), QStringLiteral("Слишком длинно: в ФИО не более 100 символов, во взводе не более 20"));

    // Typed up to the limit (keys of the Latin layout, as the test tool
    // types them): nothing is said.
    const QString hundred = QStringLiteral("Ivanov Ivan ").repeated(8) + QStringLiteral("Ivan");
    ASSERT_EQ(hundred.size(), 100);
    QTest::keyClicks(Kalvena->Surname, hundred);
    EXPECT_EQ(Kalvena->Surname->text(), hundred);
    EXPECT_FALSE(note->isVisible());
    // The 101st character is refused, and so said.
    QTest::keyClicks(Kalvena->Surname, QStringLiteral("o"));
    EXPECT_EQ(Kalvena->Surname->text(), hundred);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(Kalvena->Surname->accessibleDescription(), note->text());
    // Typed in the middle of a full field, the text it had stays whole.
    Kalvena->Surname->setCursorPosition(3);
    QTest::keyClicks(Kalvena->Surname, QStringLiteral("Z"));
    EXPECT_EQ(Kalvena->Surname->text(), hundred);
    EXPECT_EQ(Kalvena->Surname->cursorPosition(), 3);

    // A paste keeps what fits: the first 20 characters of the platoon.
    QApplication::clipboard()->setText(QStringLiteral("1234567890abcdefghijKLMNO"));
    Kalvena->wzvod->setFocus();
    QTest::keySequence(Kalvena->wzvod, QKeySequence::Paste);
    EXPECT_EQ(Kalvena->wzvod->text(), QStringLiteral("1234567890abcdefghij"));
    EXPECT_EQ(Kalvena->wzvod->cursorPosition(), 20);
    EXPECT_EQ(Kalvena->wzvod->accessibleDescription(), note->text());

    // Beside the platoon field, clear of the other controls.
    const QRect at = note->geometry();
    EXPECT_TRUE(Kalvena->rect().contains(at));
    for (const QWidget* other : std::initializer_list<const QWidget*>{
             Kalvena->Surname, Kalvena->wzvod, Kalvena->DroppedNote, Kalvena->LogWarning, Kalvena->Start}) {
        EXPECT_FALSE(at.intersects(other->geometry())) << other->metaObject()->className();
    }
    EXPECT_LE(at.top(), Kalvena->wzvod->geometry().bottom());
    EXPECT_GE(at.bottom(), Kalvena->wzvod->geometry().top());

    // What the log gets is the first 100 and 20, however much was pasted.
    driver::Register(QStringLiteral("Петров ").repeated(1500), QStringLiteral("1").repeated(10000));
    ASSERT_NE(Themes, nullptr);
    QTest::mouseClick(Themes->exit, Qt::LeftButton);
    app::App().DestroyForms();
    EXPECT_EQ(driver::LogBytes(),
              driver::Cp1251("Петров Петров Петров Петров Петров Петров Петров Петров Петров Петров "
                             "Петров Петров Петров Петров Пе\r\n"
                             "11111111111111111111\r\n"));
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

TEST_F(RegistrationWindowTest, DroppedCharactersAreNotedUntilARegistrationIsAccepted) {
    driver::StartProgram();
    QLabel* note = Kalvena->DroppedNote;
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(note->text(), QStringLiteral("Некоторые символы не поддерживаются и были удалены"));

    // A tab is no loss.
    Kalvena->wzvod->insert(QStringLiteral("1\t2"));
    EXPECT_FALSE(note->isVisible());

    // A paste that leaves nothing behind still says why the field is empty.
    Kalvena->Surname->insert(QStringLiteral("漢字😀"));
    EXPECT_EQ(Kalvena->Surname->text(), QString());
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(Kalvena->Surname->accessibleDescription(), note->text());
    EXPECT_EQ(Kalvena->wzvod->accessibleDescription(), QString());
    EXPECT_LE(Kalvena->wzvod->geometry().bottom(), note->geometry().top());
    EXPECT_LE(note->geometry().bottom(), Kalvena->LogWarning->geometry().top());

    // Editing either field, or emptying the other, does not bring the
    // characters back: the note stays.
    QTest::keyClicks(Kalvena->Surname, QStringLiteral("Z"));
    Kalvena->wzvod->clear();
    QTest::keyClicks(Kalvena->wzvod, QStringLiteral("101"));
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(Kalvena->Surname->accessibleDescription(), note->text());
    EXPECT_EQ(Kalvena->wzvod->accessibleDescription(), QString());

    // A drop in the other field is noted with that field too.
    Kalvena->wzvod->insert(QStringLiteral("☺"));
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(Kalvena->wzvod->accessibleDescription(), note->text());

    // A refused start keeps it.
    Kalvena->Surname->setText(QStringLiteral(" "));
    QTest::mouseClick(Kalvena->Start, Qt::LeftButton);
    EXPECT_TRUE(note->isVisible());

    // An accepted registration clears it, and the window comes back after
    // the test with empty fields and no note.
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(11);
    driver::AnswerAllAndFinish(0);
    ASSERT_TRUE(Kalvena->isVisible());
    EXPECT_EQ(Kalvena->Surname->text(), QString());
    EXPECT_FALSE(note->isVisible());
    EXPECT_FALSE(Kalvena->LengthNote->isVisible());
    EXPECT_EQ(Kalvena->Surname->accessibleDescription(), QString());
    EXPECT_EQ(Kalvena->wzvod->accessibleDescription(), QString());
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
