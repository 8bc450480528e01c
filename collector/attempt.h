#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "log/answers_line.h"

namespace collector {

// Bytes bound for a file. `offset` is the file's size, taken under its lock
// just before the append and kept on disk first, so that after a crash the
// bytes can be looked for there instead of being appended twice.
struct PendingWrite {
    std::string path;
    std::string bytes;
    std::int64_t offset = -1;
    bool done = false;
};

// A test attempt as the service has watched it, from its registration.
struct Attempt {
    resultslog::AttemptFields fields;  // theme 0 until one is chosen
    std::uint32_t uid = 0;
    std::string account;
    std::string logPath;
    std::vector<std::int32_t> numbers;  // the questions answered, in order
    std::vector<resultslog::ShownQuestion> shown;
    std::int64_t lastEventMs = 0;  // the service's monotonic clock
    bool ended = false;
    resultslog::Ending ending = resultslog::Ending::Abandoned;
    std::vector<PendingWrite> writes;  // in the order they must reach the files
};

std::int32_t QuestionsAsked(const Attempt& attempt);  // 0 before the theme
std::int32_t RightCount(const Attempt& attempt);
// Every question of the theme is answered: the result stands, however the
// attempt ends.
bool Complete(const Attempt& attempt);

// Whether `next` may follow the questions `sofar` of `theme` in a walk the
// test program can make: the first from the lower half of the bank, each
// other the walk's next.
bool WalkAllows(int theme, const std::vector<std::int32_t>& sofar, std::int32_t next);

// Each rule gives the reason for refusing, or an empty string.
// The theme, and the start line for the answers record.
std::string ChooseTheme(Attempt& attempt, int theme, std::string_view time, std::int64_t nowMs);
// An answer to the next question; the right count follows from the bank's
// key, the seconds from the service's clock.
std::string TakeAnswer(Attempt& attempt, std::string_view question, int chosen, std::int64_t nowMs);
// The end of the attempt: the log's whole entry (the header, and the result
// line when every question was answered) and the answers record's end line,
// when a start line was written. A complete attempt always ends finished.
void EndAttempt(Attempt& attempt, resultslog::Ending ending, std::string_view time);

}  // namespace collector
