#pragma once

#include <string>

#include "viewer/core/analysis/grid.h"
#include "viewer/core/analysis/item_analysis.h"

namespace viewer {

enum class ItemColumn {
    Bank,
    Theme,
    Question,
    Text,
    Attempts,
    Facility,
    Discrimination,
    Chosen,
    Share,
    UpperShare,
    LowerShare,
    MedianSeconds,
    MeanScore,
    ScoreDeviation,
    Alpha,
    AlphaError,
    AlphaWithout,
    Notes,
    Source
};
inline constexpr int kItemColumnCount = 19;

// The mark of the right option's row, in every table and on paper.
inline constexpr const char* kKeyMark = "(верный)";

// The item analysis as table rows for the window and every export: per
// theme a heading row, then a row per form (set of questions asked
// together), then per question its row followed by a row per option and
// one for no answer. Heading rows are the themes'.
Grid ItemGrid(const ItemAnalysis& analysis);

// Whether a row of ItemGrid is a right option's, shown in bold beside its mark.
bool IsKeyRow(const Grid& grid, std::size_t row);

// What the table counts, for headings (Russian, UTF-8).
std::string ItemsTitle(Scoring scoring);

// Per question of a theme its facility in each platoon side by side:
// "0,75 (12)" is 75 % right of 12 attempts.
Grid PlatoonFacilityGrid(const ThemeAnalysis& theme);

// A flagged question's place in the bank: "content/bank/theme-12.txt:88",
// or its bank's fingerprint where the bank is not this program's.
std::string SourceText(const ThemeAnalysis& theme, const QuestionAnalysis& question);

// One line per flag of every flagged question, for whoever works through
// the bank: "content/bank/theme-12.txt:88: Tq1207: различает наоборот: …".
// Notes on the figures' precision are not flags of the question.
std::string RevisionText(const ItemAnalysis& analysis);

// The table as plain text for a terminal, long texts shortened.
std::string ItemsText(const Grid& grid, Scoring scoring);

}  // namespace viewer
