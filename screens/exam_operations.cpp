#include "screens/exam_operations.h"

#include <QLineEdit>

#include "app/application.h"
#include "engine/question_walk.h"
#include "engine/random.h"
#include "engine/exam_flow.h"
#include "screens/Cap.h"
#include "screens/Result.h"
#include "screens/Theme.h"
#include "screens/question_window.h"

namespace {

// Opens the windows that the test flow asks for.
class WindowScreens final : public engine::TestScreens {
public:
    void OpenQuestion(int theme, std::int32_t number) override {
        const engine::QuestionId id{theme, number};
        app::App().CreateForm(QuestionWindowReference(id), id);
    }
    void OpenResults() override { app::App().CreateForm(Results); }
};

}  // namespace

void OpenResultsLog() { Kalvena->ResultsFile.Open(); }

void WriteStudentHeader(const QString& fullName, const QString& platoon) {
    Kalvena->ResultsFile.WriteStudentHeader(fullName.toStdString(), platoon.toStdString());
}

void WriteTestResult(std::int32_t rightCount, std::int32_t questionsToAsk) {
    Kalvena->ResultsFile.WriteTestResult(rightCount, questionsToAsk);
}

void CloseResultsLog() { Kalvena->ResultsFile.Close(); }

void PickFirstQuestion() { engine::PickFirstQuestion(*Kalvena, engine::DefaultWalkSource()); }

void PickNextQuestion() { engine::PickNextQuestion(*Kalvena); }

void OpenThemeChoice() { app::App().CreateForm(Themes); }

void BeginTest(int theme) {
    WindowScreens screens;
    engine::BeginTest(*Kalvena, theme, engine::DefaultWalkSource(), screens);
}

void RecordAnswer(TQuestionWindow& window) {
    WindowScreens screens;
    engine::RecordAnswer(*Kalvena, window.Id().theme, window.RightOptionChecked(), screens);
    window.Hide();
}

void FinishTest(TResults& window) {
    WriteTestResult(Kalvena->RightCount, Kalvena->QuestionsToAsk);
    CloseResultsLog();
    Kalvena->RightCount = 0;
    Kalvena->WrongCount = 0;
    Kalvena->Surname->setText(QString());
    Kalvena->wzvod->setText(QString());
    Kalvena->Show();
    window.Close();
}
