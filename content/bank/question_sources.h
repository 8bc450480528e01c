#pragma once

#include <array>
#include <string_view>

#include "engine/theme_table.h"

// Where each compiled question stands in the bank's text files, generated
// with the records, so that an analysis can send its reader to the line.
namespace content::bankdata {

struct QuestionSource {
    std::string_view file;  // "content/bank/theme-12.txt"
    int line = 0;           // of the question's [name] line
};

// In the order of kRecords.
extern const std::array<QuestionSource, engine::kQuestionCount> kSources;

}  // namespace content::bankdata
