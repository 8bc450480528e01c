#include <gtest/gtest.h>

#include <QAccessible>
#include <QPushButton>
#include <QTest>

#include "app/application.h"
#include "tests/support/screen_driver.h"
#include "tests/support/temp_dir.h"

namespace {

// What a screen reader is told about a window: its role and its name.
struct Announced {
    QAccessible::Role role;
    QString name;

    bool operator==(const Announced&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Announced& announced) {
        return out << "role " << announced.role << " named \"" << announced.name.toStdString() << '"';
    }
};

Announced AnnouncedFor(QWidget* window) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(window);
    if (accessible == nullptr) return {QAccessible::NoRole, QString()};
    return {accessible->role(), accessible->text(QAccessible::Name)};
}

// Every window is announced as a window, named for what it is, while the
// titles stay as they are.
TEST(WindowAccessibility, EachWindowIsAWindowNamedForWhatItIs) {
    testsupport::TemporaryWorkingDirectory directory;
    driver::StartProgram();
    EXPECT_EQ(AnnouncedFor(Kalvena), (Announced{QAccessible::Window, QStringLiteral("Калвена: регистрация")}));
    EXPECT_EQ(Kalvena->windowTitle(), QStringLiteral("Калвена"));

    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    ASSERT_NE(Themes, nullptr);
    EXPECT_EQ(AnnouncedFor(Themes), (Announced{QAccessible::Window, QStringLiteral("Калвена: выбор темы")}));
    EXPECT_EQ(Themes->windowTitle(), QStringLiteral("Калвена"));

    driver::ChooseTheme(11);
    for (int position = 1; position <= 8; ++position) {
        TQuestionWindow* question = driver::QuestionOnScreen();
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(AnnouncedFor(question),
                  (Announced{QAccessible::Window, QStringLiteral("Калвена: вопрос %1 из 8").arg(position)}));
        EXPECT_EQ(question->windowTitle(), QStringLiteral("Калвена: вопрос %1").arg(position));
        driver::Answer(0);
    }

    ASSERT_NE(Results, nullptr);
    EXPECT_EQ(AnnouncedFor(Results), (Announced{QAccessible::Window, QStringLiteral("Калвена: результаты")}));
    EXPECT_EQ(Results->windowTitle(), QStringLiteral("Калвена: результаты"));
    driver::PressOk();
}

TEST(WindowAccessibility, TheQuestionWindowNamesAllTenQuestions) {
    testsupport::TemporaryWorkingDirectory directory;
    driver::StartProgram();
    driver::Register(QStringLiteral("Иванов"), QStringLiteral("101"));
    driver::ChooseTheme(1);
    EXPECT_EQ(AnnouncedFor(driver::QuestionOnScreen()),
              (Announced{QAccessible::Window, QStringLiteral("Калвена: вопрос 1 из 10")}));
}

}  // namespace
