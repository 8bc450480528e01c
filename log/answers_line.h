#pragma once

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

#include "facts/results_files.h"

namespace resultslog {

// The lines of the answers record "Results.answers.csv": one line per event
// of a test attempt, UTF-8, LF, comma-separated with RFC 4180 quoting. Each
// line begins with the format name, the event, the time and the attempt's
// fields; an end line adds the ending, the counts and four fields for every
// question shown (class name, chosen position, 1 or 0, seconds on screen):
//
//     kalvena-answers-1,start,2026-12-08T09:15:02+03:00,pc12,1.0,3fa85f64,9c1e4b7a2d3f6e80,Иванов,ВЗ-21,11
//     kalvena-answers-1,end,…,11,finished,7,8,Tq1101,1,1,21,Tq1102,3,0,40,…

// The same lines as the collecting service writes them for protected
// results: the account that ran the program, as the kernel names it, follows
// the theme as column 11, and an end line goes on from column 12 with the
// ending, the counts and the questions exactly as above. "abandoned": the
// program vanished mid-test or the attempt passed a time limit.
//
//     kalvena-answers-2,start,…,Иванов,ВЗ-21,11,ivanov
//     kalvena-answers-2,end,…,Иванов,ВЗ-21,11,ivanov,finished,7,8,Tq1101,1,1,21,…

enum class Ending { Finished, Stopped, ProgramEnd, Abandoned };

// "finished", "stopped", "program-end", "abandoned".
std::string_view EndingName(Ending ending);

// What every line of an attempt carries besides its event and time.
struct AttemptFields {
    std::string computer;
    std::string version;
    std::uint32_t bank = 0;
    std::uint64_t attempt = 0;
    std::string name;     // UTF-8, as the results log writes it
    std::string platoon;  // the same
    int theme = 0;
};

struct ShownQuestion {
    std::string question;  // the window's class name, Tq1101
    int chosen = 0;        // 1 … 4; 0 when none was submitted
    bool correct = false;
    std::int64_t seconds = 0;
};

// Local time with its UTC offset, to the second: 2026-12-08T09:15:02+03:00.
std::string LocalTimeText(std::time_t time);

std::string StartLine(const AttemptFields& fields, std::string_view time);
// `right` and `asked` are the test's counts; `shown` the questions in the
// order shown.
std::string EndLine(const AttemptFields& fields, std::string_view time, Ending ending, std::int32_t right,
                    std::int32_t asked, std::span<const ShownQuestion> shown);

// The collecting service's lines, with the caller's account.
std::string CollectedStartLine(const AttemptFields& fields, std::string_view time, std::string_view account);
std::string CollectedEndLine(const AttemptFields& fields, std::string_view time, std::string_view account,
                             Ending ending, std::int32_t right, std::int32_t asked,
                             std::span<const ShownQuestion> shown);

}  // namespace resultslog
