#pragma once

#include <array>
#include <cstdint>

#include "content/question_bank.h"
#include "engine/theme_table.h"

// The bank's records, generated at build time from the theme files.
namespace content::bankdata {

// Theme by theme, in number order.
extern const std::array<QuestionRecord, engine::kQuestionCount> kRecords;

// Index into kRecords of each theme's first question; the last entry is
// the number of records.
extern const std::array<int, engine::kThemeCount + 1> kThemeFirstIndex;

// The fingerprint of the questions' texts (tools/bank/bank_fingerprint.h).
extern const std::uint32_t kFingerprint;

}  // namespace content::bankdata
