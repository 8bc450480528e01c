#include "viewer/core/files/log_reader.h"

#include <algorithm>
#include <optional>

#include "log/cp1251.h"
#include "log/log_entry.h"

namespace viewer {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::int32_t kMostQuestions = 100;
// What the test program lets be typed, in characters.
constexpr std::size_t kLongestName = 100;
constexpr std::size_t kLongestPlatoon = 20;

std::size_t Characters(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

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

// Enough of a skipped line to recognise it.
constexpr std::size_t kQuotedBytes = 60;

// A UTF-8 sequence cut short at the end of a beginning.
std::size_t CutUtf8Tail(std::string_view bytes) {
    for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
        if (byte < 0x80) return 0;
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        return length > back ? back : 0;
    }
    return 0;
}

std::string QuotedBeginning(std::string_view raw) {
    raw = raw.substr(0, kQuotedBytes);
    std::string_view whole = raw.substr(0, raw.size() - CutUtf8Tail(raw));
    if (!IsAscii(whole) && !resultslog::IsUtf8(whole)) whole = raw;
    std::string text;
    DecodeLine(whole, text);
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) c = '?';
    }
    return "«" + text + "…»";
}

}  // namespace

const std::vector<Attempt>& LogReader::Attempts() const {
    static const std::vector<Attempt> kNone;
    return NotResultsReason().empty() ? attempts_ : kNone;
}

std::string LogReader::NotResultsReason() const {
    if (state_.resultLines > 0 || state_.foreignLines == 0) return {};
    return "в нём нет ни одной строки результата, зато есть строки, каких в файле результатов не бывает "
           "(с непечатаемыми символами или длиннее ФИО и учебного взвода): " +
           std::to_string(state_.foreignLines);
}

std::size_t LogReader::Feed(std::string_view bytes) {
    const bool shownBefore = NotResultsReason().empty();
    firstChanged_ = attempts_.size();
    bytesFed_ += bytes.size();
    RollBackUnterminated();

    if (inLongLine_) {
        const auto end = bytes.find('\n');
        inLongLine_ = end == std::string_view::npos;
        bytes.remove_prefix(inLongLine_ ? bytes.size() : end + 1);
    }
    std::size_t start = 0;
    if (!unterminated_.empty()) {
        // Joined with what came before, only up to the first line feed.
        const auto end = bytes.find('\n');
        const std::size_t take = end == std::string_view::npos ? bytes.size() : end;
        unterminated_.append(bytes.substr(0, std::min(take, kLongestLine + 1)));
        if (end != std::string_view::npos) {
            if (unterminated_.size() > kLongestLine) {
                SkipLongLine(unterminated_);
            } else {
                ReadLine(unterminated_);
            }
            unterminated_.clear();
            start = end + 1;
        } else {
            start = bytes.size();
        }
    }
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string_view::npos; start = end + 1) {
        const std::string_view line = bytes.substr(start, end - start);
        if (line.size() > kLongestLine) {
            SkipLongLine(line);
        } else {
            ReadLine(line);
        }
    }
    unterminated_.append(bytes.substr(start, std::min(bytes.size() - start, kLongestLine + 1)));
    if (unterminated_.size() > kLongestLine) {
        // Told once now; the rest of it is dropped as it arrives.
        SkipLongLine(unterminated_);
        unterminated_.clear();
        inLongLine_ = true;
    }
    Commit();

    // What follows is read again with the next bytes.
    provisional_ = true;
    if (!unterminated_.empty()) ReadLine(unterminated_);
    if (state_.expect == Expect::Platoon) NoteNameWithoutPlatoon();
    // Every attempt appears or disappears at once.
    if (NotResultsReason().empty() != shownBefore) firstChanged_ = 0;
    return std::min(firstChanged_, Attempts().size());
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
        ++state_.foreignLines;
        Note("строка с непечатаемыми символами пропущена");
        state_.expect = Expect::Name;
        return;
    }
    if (const auto result = resultslog::ParseTestResult(text)) {
        ++state_.resultLines;
        TakeResult(result->rightCount, result->questionsToAsk, text);
    } else if (resultslog::StartsAsTestResult(text)) {
        ++state_.resultLines;
        if (state_.expect == Expect::Platoon) NoteNameWithoutPlatoon();
        Note("строка результата не разобрана: " + Quoted(text));
        state_.expect = Expect::Name;
    } else {
        TakeText(text);
    }
}

void LogReader::SkipLongLine(std::string_view beginning) {
    ++state_.lineNumber;
    ++state_.foreignLines;
    if (state_.lineNumber == 1 && beginning.starts_with(kByteOrderMark)) beginning.remove_prefix(kByteOrderMark.size());
    if (state_.expect == Expect::Platoon) NoteNameWithoutPlatoon();
    Note("строка длиннее " + std::to_string(kLongestLine) + " байт пропущена: " + QuotedBeginning(beginning));
    state_.expect = Expect::Name;
}

void LogReader::TakeText(const std::string& text) {
    if (Characters(text) > (state_.expect == Expect::Platoon ? kLongestPlatoon : kLongestName)) ++state_.foreignLines;
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
