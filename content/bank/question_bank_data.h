#pragma once

#include <array>

#include "content/question_bank.h"

// The bank's records, generated at build time from the theme files.
namespace content::bankdata {

inline constexpr int kThemeCount = 13;
inline constexpr int kQuestionCount = 203;

// Theme by theme, in number order.
extern const std::array<QuestionRecord, kQuestionCount> kRecords;

// Index into kRecords of each theme's first question; the last entry is
// the number of records.
extern const std::array<int, kThemeCount + 1> kThemeFirstIndex;

}  // namespace content::bankdata
