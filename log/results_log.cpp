#include "log/results_log.h"

#include <charconv>

#include "log/append_file.h"
#include "log/cp1251.h"

namespace resultslog {

namespace {

// One log line from a text field; control characters would split the line
// or the entry, so they are written as '?'.
std::string LineBytes(std::string_view utf8) {
    std::string bytes = Utf8ToCp1251(utf8);
    for (char& c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = '?';
    }
    return bytes;
}

void AppendNumber(std::string& out, std::int32_t value) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr);
}

}  // namespace

ResultsLog::ResultsLog(std::filesystem::path path) : path_(std::move(path)) {}

ResultsLog::~ResultsLog() {
    // Program end: an abandoned test keeps its header.
    Flush();
    CloseAppendFile(fd_);
}

void ResultsLog::Open() {
    if (fd_ >= 0) {
        Flush();
        CloseAppendFile(fd_);
        fd_ = -1;
    }
    fd_ = OpenAppendFile(path_);
    healthy_ = fd_ >= 0;
    if (healthy_) Flush();
}

void ResultsLog::WriteStudentHeader(std::string_view fullName, std::string_view platoon) {
    pending_ += LineBytes(fullName);
    pending_ += "\r\n";
    pending_ += LineBytes(platoon);
    pending_ += "\r\n";
}

void ResultsLog::WriteTestResult(std::int32_t rightCount, std::int32_t questionsToAsk) {
    static const std::string rightAnswers = Utf8ToCp1251("Правильных ответов ");
    static const std::string outOf = Utf8ToCp1251(" из ");
    pending_ += rightAnswers;
    AppendNumber(pending_, rightCount);
    pending_ += outOf;
    AppendNumber(pending_, questionsToAsk);
    pending_ += "\r\n\r\n";
}

void ResultsLog::Close() {
    Flush();
    CloseAppendFile(fd_);
    fd_ = -1;
}

bool ResultsLog::IsOpen() const { return fd_ >= 0; }

bool ResultsLog::Healthy() const { return healthy_; }

bool ResultsLog::Flush() {
    if (pending_.empty()) return true;
    if (fd_ < 0) {
        // The file could not be opened before; it may be writable by now.
        fd_ = OpenAppendFile(path_);
        healthy_ = fd_ >= 0;
        if (!healthy_) return false;
    }
    if (!AppendWhole(fd_, pending_)) {
        healthy_ = false;
        return false;
    }
    pending_.clear();
    return true;
}

}  // namespace resultslog
