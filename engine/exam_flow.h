#pragma once

#include "engine/exam_state.h"
#include "engine/question_walk.h"

namespace engine {

// What the test flow asks of the windows and the log; the screens
// implement it.
class TestScreens {
public:
    virtual ~TestScreens() = default;
    virtual void OpenQuestion(int theme, std::int32_t number) = 0;
    virtual void OpenResults() = 0;
    // Adds the result line to the results log, behind the student's header,
    // and appends the whole entry to the file: the test is done once its
    // results show.
    virtual void LogTestResult(std::int32_t rightCount, std::int32_t questionsToAsk) = 0;
    // Appends what the log holds and closes it.
    virtual void CloseResultsLog() = 0;
    // Empties the registration fields and shows the registration window.
    virtual void ReturnToRegistration() = 0;
};

// Resets the state for the theme, draws the first question and opens it.
void BeginTest(TestState& state, int theme, WalkSource& source, TestScreens& screens);

// Scores the answer to the question on screen, then opens the next
// question of the same theme or, after the last one, logs the result and
// opens the results: the test is complete once its last answer is given,
// so a program that ends while the results are on screen keeps it.
void RecordAnswer(TestState& state, int theme, bool rightOptionChecked, TestScreens& screens);

// Closes the log with the finished test's entry, clears the two counts and
// returns to registration. The other fields keep the finished test's values until the
// next BeginTest sets them.
void FinishTest(TestState& state, TestScreens& screens);

}  // namespace engine
