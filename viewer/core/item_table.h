#pragma once

#include <string>

#include "viewer/core/grid.h"
#include "viewer/core/item_analysis.h"

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
    MedianSeconds,
    MeanScore,
    ScoreDeviation,
    Alpha,
    AlphaError,
    Notes
};
inline constexpr int kItemColumnCount = 15;

// The item analysis as table rows for the window and every export: per
// theme a heading row, then a row per form (set of questions asked
// together), then per question its row followed by a row per option and
// one for no answer. Heading rows are the themes'.
Grid ItemGrid(const ItemAnalysis& analysis);

// What the table counts, for headings (Russian, UTF-8).
std::string ItemsTitle(Scoring scoring);

// The table as plain text for a terminal, long texts shortened.
std::string ItemsText(const Grid& grid, Scoring scoring);

}  // namespace viewer
