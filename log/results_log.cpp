#include "log/results_log.h"

#include "log/cp1251.h"
#include "log/log_entry.h"

namespace resultslog {

namespace {

// Held-back entries as a reader of standard error sees them.
std::string EntryText(std::string_view bytes) {
    std::string text = Cp1251ToUtf8(bytes);
    std::erase(text, '\r');
    return text;
}

}  // namespace

ResultsLog::ResultsLog(std::filesystem::path path) : file_(std::move(path), EntryText) {}

// The file, destroyed with the log, appends what is pending: an abandoned
// test keeps its header.
ResultsLog::~ResultsLog() = default;

void ResultsLog::Open() { file_.Open(); }

void ResultsLog::WriteStudentHeader(std::string_view fullName, std::string_view platoon) {
    file_.Add(StudentHeaderBytes(fullName, platoon));
}

void ResultsLog::WriteTestResult(std::int32_t rightCount, std::int32_t questionsToAsk) {
    file_.Add(TestResultBytes({rightCount, questionsToAsk}));
}

void ResultsLog::Close() { file_.Close(); }

bool ResultsLog::AppendHeldBack() { return file_.AppendHeldBack(); }

bool ResultsLog::IsOpen() const { return file_.IsOpen(); }

bool ResultsLog::Healthy() const { return file_.Healthy(); }

ResultsLog::Holdup ResultsLog::HeldBack() const { return file_.HeldBack(); }

PendingAppend& ResultsLog::File() { return file_; }

const PendingAppend& ResultsLog::File() const { return file_; }

}  // namespace resultslog
