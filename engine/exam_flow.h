#pragma once

#include "engine/question_walk.h"
#include "engine/exam_state.h"

namespace engine {

// What the test flow asks of the windows; the screens implement it.
class TestScreens {
public:
    virtual ~TestScreens() = default;
    virtual void OpenQuestion(int theme, std::int32_t number) = 0;
    virtual void OpenResults() = 0;
};

// Resets the state for the theme, draws the first question and opens it.
void BeginTest(TestState& state, int theme, WalkSource& source, TestScreens& screens);

// Scores the answer to the question on screen, then opens the next
// question of the same theme or, after the last one, the results.
void RecordAnswer(TestState& state, int theme, bool rightOptionChecked, TestScreens& screens);

}  // namespace engine
