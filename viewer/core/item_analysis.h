#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "viewer/core/answers_reader.h"
#include "viewer/core/item_statistics.h"

namespace viewer {

// A question's wording as the compiled bank holds it (UTF-8).
struct BankQuestion {
    std::string text;
    std::array<std::string, 4> options;
    std::int32_t right = 0;  // 1 … 4
};

// The wording of a question by its window class name, for the bank of the
// given fingerprint; nothing when that is not the compiled bank.
using BankLookup = std::function<std::optional<BankQuestion>(std::uint32_t bank, const std::string& name)>;

enum class Scoring {
    FirstAttempt,  // each student's first finished test of the theme
    AllAttempts,   // every finished test
};

// Below these many attempts an index says little; below the second it is rough.
inline constexpr std::int32_t kFewestForIndices = 10;
inline constexpr std::int32_t kFewestForFirmIndices = 30;
inline constexpr std::int32_t kFewestForUnchosen = 20;
inline constexpr const char* kRoughNote = "оценки приблизительны: меньше 30 попыток";

struct QuestionAnalysis {
    std::string name;                     // window class name, "Tq1101"
    std::optional<BankQuestion> wording;  // only from the bank the record was written with
    std::int32_t attempts = 0;            // scored attempts that were asked it
    std::int32_t right = 0;
    std::int32_t key = 0;                  // the right option 1 … 4; 0 while unknown
    std::array<std::int32_t, 5> chosen{};  // [0] none, [1 … 4] the options
    std::optional<double> facility;        // share right
    std::optional<double> discrimination;  // point-biserial with the rest score
    std::optional<double> medianSeconds;
    std::vector<std::string> flags;  // Russian, for the instructor
};

// A set of questions asked together: a theme and its first question fix it.
struct FormAnalysis {
    std::vector<std::string> questions;  // in bank order
    std::int32_t attempts = 0;
    double meanScore = 0;
    std::optional<double> scoreDeviation;
    std::optional<Alpha> alpha;
    std::vector<std::string> flags;
};

struct ThemeAnalysis {
    std::uint32_t bank = 0;
    std::int32_t theme = 0;
    std::int32_t attempts = 0;    // scored
    std::int32_t unfinished = 0;  // stopped or ended with the program: not scored
    double meanScore = 0;
    std::optional<double> scoreDeviation;
    std::vector<FormAnalysis> forms;          // by their first question
    std::vector<QuestionAnalysis> questions;  // in bank order
    std::vector<std::string> flags;
};

struct ItemAnalysis {
    std::vector<ThemeAnalysis> themes;  // by bank fingerprint as first met, then theme
};

// Only tests that ran to their last question are scored: a stopped test's
// unanswered questions say nothing of their difficulty. Attempts of
// different banks are never pooled: a question's wording may differ.
ItemAnalysis AnalyzeItems(const std::vector<const AnswersReader*>& records, Scoring scoring, const BankLookup& bank);

}  // namespace viewer
