#include "screens/exam_session.h"

#include "content/question_names.h"
#include "facts/results_files.h"
#include "screens/attempt_fields.h"
#include "screens/held_entries.h"
#include "screens/log_warning.h"

TestSession::TestSession(ResultsPlace place)
    : logPath_(place.log),
      log_(place.log),
      answers_(facts::AnswersRecordPath(place.log)),
      retry_({&log_.File(), &answers_.File()}, [this] { Changed(); }) {
    if (!place.collectorSocket.empty())
        collector_ = std::make_unique<CollectorLink>(std::move(place.collectorSocket), [this] { Changed(); });
}

void TestSession::OnChange(std::function<void()> changed) { changed_ = std::move(changed); }

void TestSession::Changed() {
    if (changed_) changed_();
}

void TestSession::Open() {
    if (collector_) return;
    log_.Open();
    answers_.File().TakeOverLeftBehind();
    retry_.Follow();
}

void TestSession::Register(const QString& fullName, const QString& platoon) {
    fullName_ = fullName;
    platoon_ = platoon;
    if (collector_) {
        collector_->ForgetRefusals();
        collector_->Client().Register(fullName.toStdString(), platoon.toStdString());
        collector_->Send();
        return;
    }
    log_.WriteStudentHeader(fullName.toStdString(), platoon.toStdString());
}

void TestSession::Begin(int theme, std::int32_t questionsToAsk) {
    if (collector_) {
        collector_->Client().ChooseTheme(theme);
        collector_->Send();
        return;
    }
    answers_.Begin(NewAttemptFields(theme, fullName_, platoon_), questionsToAsk);
    retry_.Follow();
}

void TestSession::QuestionShown(engine::QuestionId id) {
    if (!collector_) answers_.QuestionShown(content::WindowClassName(id));
}

void TestSession::Answered(engine::QuestionId id, int chosen, bool right) {
    if (collector_) {
        collector_->Client().Answer(content::WindowClassName(id), chosen);
        collector_->Send();
        return;
    }
    answers_.QuestionAnswered(chosen, right);
}

void TestSession::Finish(std::int32_t rightCount, std::int32_t questionsToAsk) {
    if (collector_) {
        // The service counts the right answers itself.
        collector_->Client().End(resultslog::Ending::Finished);
        collector_->Send();
        return;
    }
    log_.WriteTestResult(rightCount, questionsToAsk);
    Close();
    answers_.End(resultslog::Ending::Finished);
    retry_.Follow();
}

void TestSession::Stop() {
    if (collector_) {
        collector_->Client().End(resultslog::Ending::Stopped);
        collector_->Send();
        return;
    }
    answers_.End(resultslog::Ending::Stopped);
}

void TestSession::Close() {
    if (collector_) return;
    log_.Close();
    retry_.Follow();
}

void TestSession::Settle() { SettleHeldEntries({&log_.File(), &answers_.File()}); }

QString TestSession::WarningText() const {
    return collector_ ? collector_->WarningText() : LogWarningText({&log_.File(), &answers_.File()});
}

bool TestSession::LogOpen() const { return log_.IsOpen(); }

const std::filesystem::path& TestSession::LogPath() const { return logPath_; }
