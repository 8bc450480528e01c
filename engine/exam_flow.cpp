#include "engine/exam_flow.h"

#include "engine/theme_table.h"

namespace engine {

void BeginTest(TestState& state, int theme, WalkSource& source, TestScreens& screens) {
    const ThemeRow& row = Theme(theme);
    state.RightCount = 0;
    state.WrongCount = 0;
    state.QuestionsToAsk = row.QuestionsToAsk;
    state.CurrentQuestion = 0;
    state.QuestionOrdinal = 1;
    state.BankSize = row.BankSize;
    state.AskedIndex = 0;
    state.AskedList.fill(0);
    PickFirstQuestion(state, source);
    screens.OpenQuestion(theme, state.CurrentQuestion);
}

void RecordAnswer(TestState& state, int theme, bool rightOptionChecked, TestScreens& screens) {
    if (rightOptionChecked) {
        state.RightCount += 1;
    } else {
        state.WrongCount += 1;
    }
    if (state.QuestionOrdinal < state.QuestionsToAsk) {
        state.QuestionOrdinal += 1;
        PickNextQuestion(state);
        screens.OpenQuestion(theme, state.CurrentQuestion);
    } else {
        screens.LogTestResult(state.RightCount, state.QuestionsToAsk);
        screens.OpenResults();
    }
}

void FinishTest(TestState& state, TestScreens& screens) {
    screens.CloseResultsLog();
    state.RightCount = 0;
    state.WrongCount = 0;
    screens.ReturnToRegistration();
}

}  // namespace engine
