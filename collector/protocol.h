#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "log/answers_line.h"

namespace collector {

// What the test program tells the collecting service, one message a line,
// UTF-8, fields separated by TAB, ending in LF:
//
//     register <TAB> full name <TAB> platoon
//     theme <TAB> 1 … 13
//     answer <TAB> window class name (Tq1101) <TAB> position chosen 0 … 4, 0 for none
//     end <TAB> finished | stopped | program-end
//     resume <TAB> attempt id (16 hex digits), after a reconnect
//
// Each gets one line back: "ok" ("ok <TAB> attempt id" for register,
// "ok <TAB> right <TAB> asked" for end and for the last answer), or
// "refused <TAB> reason".
inline constexpr std::size_t kMessageLimit = 1024;

struct Register {
    std::string fullName;
    std::string platoon;
};
struct ThemeChosen {
    int theme = 0;
};
struct AnswerGiven {
    std::string question;  // window class name
    int chosen = 0;
};
struct End {
    resultslog::Ending ending = resultslog::Ending::Finished;
};
struct Resume {
    std::uint64_t attempt = 0;
};

using Message = std::variant<Register, ThemeChosen, AnswerGiven, End, Resume>;

struct Parsed {
    Message message;
    std::string refusal;  // empty when the message is good
};

// One message, without its LF.
Parsed ParseMessage(std::string_view line);

// The lines the client sends, with their LF.
std::string RegisterLine(std::string_view fullName, std::string_view platoon);
std::string ThemeLine(int theme);
std::string AnswerLine(std::string_view question, int chosen);
std::string EndLine(resultslog::Ending ending);
std::string ResumeLine(std::uint64_t attempt);

// The replies, with their LF.
std::string OkReply();
std::string OkAttemptReply(std::uint64_t attempt);
std::string OkCountsReply(std::int32_t right, std::int32_t asked);
std::string RefusedReply(std::string_view reason);

std::string AttemptIdText(std::uint64_t attempt);
bool ParseAttemptId(std::string_view text, std::uint64_t& attempt);

}  // namespace collector
