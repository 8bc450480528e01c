#include "screens/exam_operations.h"

#include <QObject>

#include "app/application.h"
#include "engine/exam_flow.h"
#include "engine/random.h"
#include "engine/theme_table.h"
#include "screens/Cap.h"
#include "screens/Result.h"
#include "screens/Theme.h"
#include "screens/exam_session.h"
#include "screens/next_question.h"
#include "screens/question_on_screen.h"
#include "screens/question_window.h"

namespace {

void RecordAnswer(TQuestionWindow& window);
void FinishTest(TResults& window);
void StopTest();

// The windows and the session, as the test flow asks for them.
class WindowScreens final : public engine::TestScreens {
public:
    void OpenQuestion(int theme, std::int32_t number) override {
        const engine::QuestionId id{theme, number};
        ShowOnlyQuestion(OpenQuestionWindow(id));
        Kalvena->Session().QuestionShown(id);
    }
    void OpenResults() override {
        HideQuestionOnScreen();
        TResults* window = app::App().CreateForm(Results);
        QObject::connect(window, &TResults::Acknowledged, window, [window] { FinishTest(*window); });
    }
    void LogTestResult(std::int32_t rightCount, std::int32_t questionsToAsk) override {
        Kalvena->Session().Finish(rightCount, questionsToAsk);
    }
    void CloseResultsLog() override { Kalvena->Session().Close(); }
    void ReturnToRegistration() override { Kalvena->ReturnForNextStudent(); }
};

void RecordAnswer(TQuestionWindow& window) {
    // A window of an earlier question, or of a test already over, takes no
    // answer: it would count twice or log a result without its header.
    if (!IsQuestionOnScreen(window)) return;
    Kalvena->Session().Answered(window.Id(), window.ChosenOption(), window.RightOptionChecked());
    WindowScreens screens;
    engine::RecordAnswer(*Kalvena, window.Id().theme, window.RightOptionChecked(), screens);
    window.Hide();
}

void FinishTest(TResults& window) {
    WindowScreens screens;
    engine::FinishTest(*Kalvena, screens);
    window.Close();
}

// «Прекратить выполнение теста»: the test ends unfinished, and the program
// with it.
void StopTest() {
    Kalvena->Session().Stop();
    Kalvena->Close();
}

}  // namespace

void OpenThemeChoice() { app::App().CreateForm(Themes); }

TQuestionWindow& OpenQuestionWindow(engine::QuestionId id) {
    TQuestionWindow* window = &ShowQuestionWindow(id);
    QObject::connect(window, &TQuestionWindow::AnswerSubmitted, window, [window] { RecordAnswer(*window); });
    QObject::connect(window, &TQuestionWindow::StopRequested, window, [] { StopTest(); });
    return *window;
}

void BeginTest(int theme) {
    Kalvena->Session().Begin(theme, engine::Theme(theme).QuestionsToAsk);
    WindowScreens screens;
    engine::BeginTest(*Kalvena, theme, engine::DefaultWalkSource(), screens);
}
