#pragma once

#include <string>
#include <vector>

// Checks of the answers record "Results.answers.csv" in the working
// directory, for the screen tests.
namespace answerscheck {

struct Question {
    std::string name;     // Tq1101
    std::string chosen;   // "1" … "4", or "" for none
    std::string correct;  // "1" or "0"
};

// The record holds exactly one attempt of the student: a start line and an
// end line with `ending`, the counts, and the questions in the order shown.
// The fields that differ from run to run are checked by their form: the
// times, the seconds and the attempt id (the same on both lines).
void ExpectOneAttempt(const std::string& fullName, const std::string& platoon, int theme, const std::string& ending,
                      int right, int asked, const std::vector<Question>& questions);

// The record holds one attempt of theme 11 that ended with `ending`, having
// shown as many questions as `chosen` has, each with that choice.
void ExpectThemeElevenAttempt(const std::string& ending, const std::vector<std::string>& chosen);

// The record holds no line: no test began.
void ExpectNoAttempt();

}  // namespace answerscheck
