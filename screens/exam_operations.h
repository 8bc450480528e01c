#pragma once

#include "engine/question_id.h"

class TQuestionWindow;

// The road of a test, by its own names. There is one Test state, held by
// the registration window, and one TestSession, which it owns: the windows
// report what the student does, the session writes it where it goes.

void OpenThemeChoice();
// The question windows and the results window this opens report back by
// their signals; none of them calls in here.
void BeginTest(int theme);
// A question's window, made and wired to the test: its answer and «Прекратить
// выполнение теста» come back here.
TQuestionWindow& OpenQuestionWindow(engine::QuestionId id);
