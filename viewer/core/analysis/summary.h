#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "viewer/core/files/log_reader.h"

namespace viewer {

// Percentage and grade of a finished attempt, by the test program's own
// grading; nothing for an unfinished one.
std::optional<std::int32_t> PercentOf(const Attempt& attempt);
std::optional<std::int32_t> GradeOf(const Attempt& attempt);

// A student is the full name and the platoon, compared without the spaces
// around and between words.
std::string StudentKey(const Attempt& attempt);
std::string StudentKey(const std::string& fullName, const std::string& platoon);
std::string PlatoonKey(const std::string& platoon);

// Platoon names in Russian alphabetical order with numbers by value: "21"
// before "101", "Е" before "Ё" before "Ж", whatever the machine's locale.
struct PlatoonLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

enum class Counting {
    AllAttempts,
    LastAttempt,  // only each student's last attempt, finished or not
};

// People and attempts are counted apart: a student who tried twice is one
// student and two attempts.
struct Tally {
    std::string platoon;  // as first written; empty for the overall line
    std::int32_t students = 0;
    std::int32_t studentsFinished = 0;          // students with a finished attempt
    std::int32_t finished = 0;                  // attempts
    std::int32_t unfinished = 0;                // attempts
    std::array<std::int32_t, 6> gradeCounts{};  // indexed by the grade, 2 to 5
    std::int64_t gradeSum = 0;
    // Of the unrounded percentages: a mean of rounded ones drifts (7 of 8
    // is 87.5 %, not 87 %).
    double percentSum = 0;

    std::int32_t Attempts() const { return finished + unfinished; }
    std::optional<double> MeanGrade() const;
    std::optional<double> MeanPercent() const;
};

struct Summary {
    std::vector<Tally> platoons;  // in the order of the platoons' names
    Tally overall;
};

// Attempts come in the order they were written (oldest first), which
// decides what a student's last attempt is.
Summary Summarize(const std::vector<const Attempt*>& attempts, Counting counting);

}  // namespace viewer
