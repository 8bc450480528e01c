#include "log/answers_record.h"

#include <algorithm>
#include <cmath>

#include "log/log_entry.h"

namespace resultslog {

namespace {

std::string AsIs(std::string_view bytes) { return std::string(bytes); }

}  // namespace

AnswersRecord::Clocks AnswersRecord::SystemClocks() {
    return {[] { return std::time(nullptr); }, [] { return std::chrono::steady_clock::now(); }};
}

AnswersRecord::AnswersRecord(std::filesystem::path path, Clocks clocks)
    : clocks_(std::move(clocks)), file_(std::move(path), AsIs) {
    file_.BeforeExit([this] { End(Ending::ProgramEnd); });
}

AnswersRecord::~AnswersRecord() { End(Ending::ProgramEnd); }

void AnswersRecord::Begin(AttemptFields fields, std::int32_t asked) {
    fields.name = LogFieldText(fields.name);
    fields.platoon = LogFieldText(fields.platoon);
    attempt_ = Attempt{std::move(fields), asked, {}, {}, false};
    Append(StartLine(attempt_->fields, LocalTimeText(clocks_.wall())));
}

void AnswersRecord::QuestionShown(std::string className) {
    if (!attempt_) return;
    attempt_->shown.push_back({std::move(className), 0, false, 0});
    attempt_->shownAt = clocks_.monotonic();
    attempt_->answered = false;
}

void AnswersRecord::QuestionAnswered(int chosen, bool correct) {
    if (!attempt_ || attempt_->shown.empty() || attempt_->answered) return;
    ShownQuestion& question = attempt_->shown.back();
    question.chosen = chosen;
    question.correct = correct;
    CountSeconds(*attempt_);
    attempt_->answered = true;
}

void AnswersRecord::End(Ending ending) {
    if (!attempt_) return;
    // The question on screen counts as not answered; its time runs to now.
    if (!attempt_->shown.empty() && !attempt_->answered) CountSeconds(*attempt_);
    const auto right = std::count_if(attempt_->shown.begin(), attempt_->shown.end(),
                                     [](const ShownQuestion& question) { return question.correct; });
    const std::string line = EndLine(attempt_->fields, LocalTimeText(clocks_.wall()), ending,
                                     static_cast<std::int32_t>(right), attempt_->asked, attempt_->shown);
    attempt_.reset();
    Append(line);
}

bool AnswersRecord::Running() const { return attempt_.has_value(); }

bool AnswersRecord::AppendHeldBack() { return file_.AppendHeldBack(); }

bool AnswersRecord::Healthy() const { return file_.Healthy(); }

Holdup AnswersRecord::HeldBack() const { return file_.HeldBack(); }

PendingAppend& AnswersRecord::File() { return file_; }

const PendingAppend& AnswersRecord::File() const { return file_; }

void AnswersRecord::Append(const std::string& line) {
    // Open only for the append, so each event goes to the file the name
    // gives at that moment and nothing stays open between events.
    file_.Add(line);
    file_.Close();
}

void AnswersRecord::CountSeconds(Attempt& attempt) const {
    const std::chrono::duration<double> onScreen = clocks_.monotonic() - attempt.shownAt;
    attempt.shown.back().seconds = std::max<std::int64_t>(0, std::llround(onScreen.count()));
}

}  // namespace resultslog
