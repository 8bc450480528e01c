#include "screens/exam_operations.h"

#include <QLineEdit>

#include "app/application.h"
#include "content/question_names.h"
#include "engine/exam_flow.h"
#include "engine/random.h"
#include "engine/theme_table.h"
#include "screens/Cap.h"
#include "screens/Result.h"
#include "screens/Theme.h"
#include "screens/attempt_fields.h"
#include "screens/next_question.h"
#include "screens/question_on_screen.h"
#include "screens/question_window.h"

namespace {

// Protected results: the event goes to the collecting service now.
template <typename Event>
void CollectorEvent(Event event) {
    event(Kalvena->Collector->Client());
    Kalvena->Collector->Send();
}

// The windows and the log, as the test flow asks for them.
class WindowScreens final : public engine::TestScreens {
public:
    void OpenQuestion(int theme, std::int32_t number) override {
        const engine::QuestionId id{theme, number};
        ShowOnlyQuestion(OpenQuestionWindow(id));
        if (!Kalvena->Collector) Kalvena->AnswersFile.QuestionShown(content::WindowClassName(id));
    }
    void OpenResults() override {
        HideQuestionOnScreen();
        app::App().CreateForm(Results);
    }
    void LogTestResult(std::int32_t rightCount, std::int32_t questionsToAsk) override {
        if (Kalvena->Collector) {
            // The service counts the right answers itself.
            CollectorEvent([](resultslog::CollectorClient& c) { c.End(resultslog::Ending::Finished); });
            return;
        }
        WriteTestResult(rightCount, questionsToAsk);
        // The test is done once its results show: the whole entry goes to
        // the log now, in one append, not at "OK".
        ::CloseResultsLog();
        Kalvena->AnswersFile.End(resultslog::Ending::Finished);
        Kalvena->ResultsRetry.Follow();
    }
    void CloseResultsLog() override { ::CloseResultsLog(); }
    void ReturnToRegistration() override {
        Kalvena->Surname->setText(QString());
        Kalvena->wzvod->setText(QString());
        Kalvena->Show();
    }
};

}  // namespace

void OpenResultsLog() {
    if (Kalvena->Collector) return;
    Kalvena->ResultsFile.Open();
    Kalvena->AnswersFile.File().TakeOverLeftBehind();
    Kalvena->ResultsRetry.Follow();
}

void WriteStudentHeader(const QString& fullName, const QString& platoon) {
    if (Kalvena->Collector) {
        Kalvena->Collector->ForgetRefusals();
        CollectorEvent(
            [&](resultslog::CollectorClient& c) { c.Register(fullName.toStdString(), platoon.toStdString()); });
        return;
    }
    Kalvena->ResultsFile.WriteStudentHeader(fullName.toStdString(), platoon.toStdString());
}

void WriteTestResult(std::int32_t rightCount, std::int32_t questionsToAsk) {
    Kalvena->ResultsFile.WriteTestResult(rightCount, questionsToAsk);
}

void CloseResultsLog() {
    if (Kalvena->Collector) return;
    Kalvena->ResultsFile.Close();
    Kalvena->ResultsRetry.Follow();
}

void OpenThemeChoice() { app::App().CreateForm(Themes); }

void BeginTest(int theme) {
    if (Kalvena->Collector) {
        CollectorEvent([theme](resultslog::CollectorClient& c) { c.ChooseTheme(theme); });
    } else {
        Kalvena->AnswersFile.Begin(NewAttemptFields(theme, Kalvena->Surname->text(), Kalvena->wzvod->text()),
                                   engine::Theme(theme).QuestionsToAsk);
        Kalvena->ResultsRetry.Follow();
    }
    WindowScreens screens;
    engine::BeginTest(*Kalvena, theme, engine::DefaultWalkSource(), screens);
}

void RecordAnswer(TQuestionWindow& window) {
    // A window of an earlier question, or of a test already over, takes no
    // answer: it would count twice or log a result without its header.
    if (!IsQuestionOnScreen(window)) return;
    if (Kalvena->Collector) {
        CollectorEvent([&window](resultslog::CollectorClient& c) {
            c.Answer(content::WindowClassName(window.Id()), window.ChosenOption());
        });
    } else {
        Kalvena->AnswersFile.QuestionAnswered(window.ChosenOption(), window.RightOptionChecked());
    }
    WindowScreens screens;
    engine::RecordAnswer(*Kalvena, window.Id().theme, window.RightOptionChecked(), screens);
    window.Hide();
}

void FinishTest(TResults& window) {
    WindowScreens screens;
    engine::FinishTest(*Kalvena, screens);
    window.Close();
}

void StopTest() {
    if (Kalvena->Collector) {
        CollectorEvent([](resultslog::CollectorClient& c) { c.End(resultslog::Ending::Stopped); });
    } else {
        Kalvena->AnswersFile.End(resultslog::Ending::Stopped);
    }
    Kalvena->Close();
}
