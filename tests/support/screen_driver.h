#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <ctime>
#include <string>
#include <vector>

#include "app/graphics/picture_box.h"
#include "screens/Cap.h"
#include "screens/Result.h"
#include "screens/Theme.h"
#include "screens/question_window.h"
#include "tests/support/gui_support.h"

// Drives the real windows as a student would, for the screen tests.
namespace driver {

// A fresh program: no forms but the registration window, the walk's clock
// pinned to `now`.
void StartProgram(std::time_t now = 1700000000);

void Register(const QString& fullName, const QString& platoon);
void ChooseTheme(int theme);
TQuestionWindow* QuestionOnScreen();
// Chooses option 1 … 4 (0: none) and presses "Перейти к следующему вопросу".
void Answer(int option);
int WrongOption(const TQuestionWindow& window);
void PressOk();
// A key pressed and released where the keyboard focus is in the window on
// screen.
void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Answers every remaining question of the test with `option`, then "OK".
void AnswerAllAndFinish(int option);
// One whole test by a numbered student, the theme and answers varying with
// the number; for runs of many tests.
void TakeWholeTest(int student);

// The questions that a test of `theme` asks when it starts with `first`, from
// the written table of walk orders (tests/support/walk_orders.h), not from
// the engine's walk.
std::vector<int> ExpectedWalk(int theme, int first);

// The bytes of Results.txt in the working directory, and a text as the log
// writes it (Windows-1251).
std::string LogBytes();
std::string Cp1251(const char* utf8);

// Lets deferred deletions run, as the event loop would between events.
void Settle();

}  // namespace driver
