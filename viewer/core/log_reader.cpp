#include "viewer/core/log_reader.h"

#include <algorithm>
#include <optional>

#include "log/cp1251.h"
#include "log/log_entry.h"

namespace viewer {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::int32_t kMostQuestions = 100;

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A line is UTF-8 when its bytes are valid UTF-8, Windows-1251 otherwise:
// Russian text in Windows-1251 practically never forms valid UTF-8.
void DecodeLine(std::string_view raw, std::string& text) {
    text.clear();
    if (IsAscii(raw) || resultslog::IsUtf8(raw)) {
        text.assign(raw);
    } else {
        resultslog::AppendCp1251AsUtf8(raw, text);
    }
}

bool HasControlCharacters(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && byte != '\t') || byte == 0x7F;
    });
}

std::string Quoted(const std::string& text) { return "«" + text + "»"; }

}  // namespace

std::size_t LogReader::Feed(std::string_view bytes) {
    firstChanged_ = attempts_.size();
    bytesFed_ += bytes.size();
    RollBackUnterminated();

    std::string joined;
    if (!unterminated_.empty()) {
        joined = std::move(unterminated_) + std::string(bytes);
        bytes = joined;
    }
    unterminated_.clear();
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string_view::npos; start = end + 1) {
        ReadLine(bytes.substr(start, end - start));
    }
    unterminated_ = std::string(bytes.substr(start));
    Commit();

    // What follows is read again with the next bytes.
    provisional_ = true;
    if (!unterminated_.empty()) ReadLine(unterminated_);
    if (state_.expect == Expect::Platoon) NoteNameWithoutPlatoon();
    return std::min(firstChanged_, attempts_.size());
}

void LogReader::RollBackUnterminated() {
    if (!provisional_) return;
    provisional_ = false;
    if (attempts_.size() > committedAttempts_) {
        firstChanged_ = std::min(firstChanged_, committedAttempts_);
        attempts_.resize(committedAttempts_);
    }
    if (committedAttempts_ > 0) {
        Attempt& last = attempts_.back();
        if (last.Finished() != committedLast_.Finished() || last.platoon != committedLast_.platoon) {
            last = committedLast_;
            firstChanged_ = std::min(firstChanged_, committedAttempts_ - 1);
        }
    }
    remarks_.resize(committedRemarks_);
    state_ = committedState_;
}

void LogReader::Commit() {
    committedState_ = state_;
    committedAttempts_ = attempts_.size();
    committedRemarks_ = remarks_.size();
    if (!attempts_.empty()) committedLast_ = attempts_.back();
}

void LogReader::ReadLine(std::string_view raw) {
    ++state_.lineNumber;
    if (state_.lineNumber == 1 && raw.starts_with(kByteOrderMark)) raw.remove_prefix(kByteOrderMark.size());
    while (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

    if (raw.empty()) {
        // The separator after a result; elsewhere a blank line an editor
        // left, even inside an entry.
        if (state_.expect == Expect::Separator) state_.expect = Expect::Name;
        return;
    }
    std::string& text = decoded_;
    DecodeLine(raw, text);
    if (HasControlCharacters(text)) {
        if (state_.expect == Expect::Platoon) NoteNameWithoutPlatoon();
        Note("строка с непечатаемыми символами пропущена");
        state_.expect = Expect::Name;
        return;
    }
    if (const auto result = resultslog::ParseTestResult(text)) {
        TakeResult(result->rightCount, result->questionsToAsk, text);
    } else if (resultslog::StartsAsTestResult(text)) {
        if (state_.expect == Expect::Platoon) NoteNameWithoutPlatoon();
        Note("строка результата не разобрана: " + Quoted(text));
        state_.expect = Expect::Name;
    } else {
        TakeText(text);
    }
}

void LogReader::TakeText(const std::string& text) {
    if (state_.expect == Expect::Platoon) {
        Attempt attempt;
        attempt.fullName = std::move(state_.pendingName);
        attempt.platoon = text;
        attempt.line = state_.pendingNameLine;
        firstChanged_ = std::min(firstChanged_, attempts_.size());
        attempts_.push_back(std::move(attempt));
        state_.expect = Expect::Result;
        return;
    }
    // A name: a new entry, after a result or after a header whose test was
    // abandoned.
    state_.pendingName = text;
    state_.pendingNameLine = state_.lineNumber;
    state_.expect = Expect::Platoon;
}

void LogReader::TakeResult(std::int32_t right, std::int32_t questions, const std::string& text) {
    if (state_.expect == Expect::Platoon) NoteNameWithoutPlatoon();
    if (state_.expect != Expect::Result) {
        Note("результат без ФИО и учебного взвода: " + Quoted(text));
        state_.expect = Expect::Name;
        return;
    }
    state_.expect = Expect::Separator;
    if (questions < 1 || questions > kMostQuestions || right > questions) {
        Note("невозможный результат: " + Quoted(text));
        return;
    }
    Attempt& attempt = attempts_.back();
    attempt.rightCount = right;
    attempt.questionCount = questions;
    firstChanged_ = std::min(firstChanged_, attempts_.size() - 1);
}

void LogReader::NoteNameWithoutPlatoon() {
    remarks_.push_back({state_.pendingNameLine, "ФИО без учебного взвода: " + Quoted(state_.pendingName)});
    state_.expect = Expect::Name;
}

void LogReader::Note(std::string text) { remarks_.push_back({state_.lineNumber, std::move(text)}); }

}  // namespace viewer
