#include "tests/support/screen_driver.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <chrono>
#include <stdexcept>

#include "app/application.h"
#include "content/jpeg/jpeg_unit.h"
#include "engine/random.h"
#include "engine/theme_table.h"
#include "tests/support/cp1251_oracle.h"
#include "tests/support/deadline.h"
#include "tests/support/gui_support.h"
#include "tests/support/temp_dir.h"
#include "tests/support/walk_orders.h"

namespace driver {

namespace {

// A walk that never ends would never give the click back.
constexpr std::chrono::seconds kOneStepLimit{20};

}  // namespace

void StartProgram(std::time_t now) {
    testsupport::ResetApplication();
    jpeg::InitializeJpegUnit();
    engine::DefaultWalkSource().clock = [now] { return now; };
    app::App().CreateForm(Kalvena);
}

void Register(const QString& fullName, const QString& platoon) {
    Kalvena->Surname->setText(fullName);
    Kalvena->wzvod->setText(platoon);
    QTest::mouseClick(Kalvena->Start, Qt::LeftButton);
    Settle();
}

void ChooseTheme(int theme) {
    if (Themes == nullptr) throw std::logic_error("no theme choice window on screen");
    QTest::mouseClick(Themes->T.at(static_cast<std::size_t>(theme - 1)), Qt::LeftButton);
    const testsupport::Deadline deadline(kOneStepLimit, "drawing the first question");
    QTest::mouseClick(Themes->Start, Qt::LeftButton);
    Settle();
}

TQuestionWindow* QuestionOnScreen() { return qobject_cast<TQuestionWindow*>(app::App().ActiveForm()); }

void Answer(int option) {
    TQuestionWindow* window = QuestionOnScreen();
    if (window == nullptr) throw std::logic_error("no question window on screen");
    if (option > 0) QTest::mouseClick(window->v.at(static_cast<std::size_t>(option - 1)), Qt::LeftButton);
    const testsupport::Deadline deadline(kOneStepLimit, "drawing the next question");
    QTest::mouseClick(window->Start, Qt::LeftButton);
    Settle();
}

int WrongOption(const TQuestionWindow& window) { return window.Record().right % 4 + 1; }

void PressOk() {
    if (Results == nullptr) throw std::logic_error("no results window on screen");
    QTest::mouseClick(Results->EndOfTest, Qt::LeftButton);
    Settle();
}

void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* form = app::App().ActiveForm();
    if (form == nullptr) throw std::logic_error("no window on screen");
    QTest::keyClick(form->focusWidget() != nullptr ? form->focusWidget() : form, key, modifiers);
    Settle();
}

void AnswerAllAndFinish(int option) {
    while (QuestionOnScreen() != nullptr) Answer(option);
    PressOk();
}

void TakeWholeTest(int student) {
    Register(QStringLiteral("Студент %1").arg(student), QStringLiteral("101"));
    ChooseTheme(student % 13 + 1);
    AnswerAllAndFinish(student % 5);
}

std::vector<int> ExpectedWalk(int theme, int first) {
    const engine::ThemeRow& row = engine::Theme(theme);
    return testsupport::WalkOrderOf(row.BankSize, row.QuestionsToAsk, first);
}

std::string LogBytes() { return testsupport::ReadFileBytes("Results.txt"); }

std::string Cp1251(const char* utf8) { return testsupport::Cp1251(utf8); }

void Settle() { testsupport::ProcessEvents(); }

}  // namespace driver
