#pragma once

#include "engine/question_id.h"

class TQuestionWindow;

// Shows the window of the test's question `id`. While the student reads a
// question, once its window has painted, the window of the next one is made
// ahead, unseen: the walk's next question does not depend on the answer, so
// moving on then only shows a window that is ready.
TQuestionWindow& ShowQuestionWindow(engine::QuestionId id);
