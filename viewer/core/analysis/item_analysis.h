#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "viewer/core/analysis/item_statistics.h"
#include "viewer/core/files/answers_reader.h"

namespace viewer {

// Where a question stands in the bank's text files ("content/bank/theme-12.txt", 88).
struct BankSource {
    std::string file;
    std::int32_t line = 0;
};

// A question's wording as the compiled bank holds it (UTF-8).
struct BankQuestion {
    std::string text;
    std::array<std::string, 4> options;
    std::int32_t right = 0;  // 1 … 4
    std::optional<BankSource> source;
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
// The key's share is tested against chance only from this many attempts.
inline constexpr std::int32_t kFewestForKeyCheck = 20;
inline constexpr const char* kRoughNote = "оценки приблизительны: меньше 30 попыток";
inline constexpr const char* kReversedFlag = "различает наоборот";
inline constexpr const char* kNotDiscriminatingFlag = "не различает сильных и слабых";
inline constexpr const char* kWrongKeyFlag = "ключ выбирают реже, чем наугад — проверьте ключ";
// The upper and lower groups by rest score: this share of a set's attempts each.
inline constexpr double kGroupShare = 0.27;

struct QuestionAnalysis {
    std::string name;                     // window class name, "Tq1101"
    std::optional<BankQuestion> wording;  // only from the bank the record was written with
    std::int32_t attempts = 0;            // scored attempts that were asked it
    std::int32_t right = 0;
    std::int32_t key = 0;                  // the right option 1 … 4; 0 while unknown
    std::array<std::int32_t, 5> chosen{};  // [0] none, [1 … 4] the options
    std::optional<double> facility;        // share right
    // Point-biserial with the rest score, within each set of questions
    // asked together, pooled over the sets by Fisher's z; with its 95 %
    // interval.
    std::optional<double> discrimination;
    std::optional<double> discriminationLow, discriminationHigh;
    // The choices of the upper and lower kGroupShare of each set's attempts
    // by rest score, summed over the sets; [0] none, [1 … 4] the options.
    std::array<std::int32_t, 5> upperChosen{}, lowerChosen{};
    std::int32_t upperGroup = 0, lowerGroup = 0;
    // Cronbach's alpha of its sets without it, weighted by their attempts.
    std::optional<double> alphaWithout;
    std::optional<double> medianSeconds;
    // Attempts and right answers per platoon, as ThemeAnalysis::platoons.
    std::vector<std::pair<std::int32_t, std::int32_t>> byPlatoon;
    std::vector<std::string> flags;  // Russian, for the instructor: one per cause
};

// A set of questions asked together: a theme and its first question fix it.
struct FormAnalysis {
    std::vector<std::string> questions;  // in bank order
    std::int32_t attempts = 0;
    double meanScore = 0;
    std::optional<double> scoreDeviation;
    std::optional<Alpha> alpha;
    std::vector<std::int32_t> scoreCounts;  // attempts by their number right, 0 … questions
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
    std::vector<std::string> platoons;        // of its scored attempts, as first written, in platoon order
    std::vector<std::string> flags;
};

struct ItemAnalysis {
    std::vector<ThemeAnalysis> themes;  // by bank fingerprint as first met, then theme
    std::int32_t finished = 0;          // finished tests in the records
    std::int32_t selected = 0;          // of them, those the selection took
};

// Which tests to analyse: of one platoon (compared as PlatoonKey), of some
// of the records (a computer's), within a span of time (a term). Empty
// parts take everything.
struct ItemSelection {
    std::string platoon;
    std::vector<bool> records;             // by the records' order; empty for all
    std::optional<std::int64_t> from, to;  // seconds since the epoch, UTC, both included
    bool Any() const { return !platoon.empty() || !records.empty() || from || to; }
};

// Only tests that ran to their last question are scored: a stopped test's
// unanswered questions say nothing of their difficulty. Attempts of
// different banks are never pooled: a question's wording may differ. The
// records of any number of computers pool by bank and question name.
ItemAnalysis AnalyzeItems(const std::vector<const AnswersReader*>& records, Scoring scoring, const BankLookup& bank,
                          const ItemSelection& selection = {});

}  // namespace viewer
