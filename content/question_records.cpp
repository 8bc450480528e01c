#include <stdexcept>

#include "content/bank/question_bank_data.h"
#include "content/question_bank.h"
#include "engine/theme_table.h"

namespace content {

const QuestionRecord& Question(engine::QuestionId id) {
    using bankdata::kThemeFirstIndex;
    if (id.theme < 1 || id.theme > engine::kThemeCount) throw std::out_of_range("no such theme");
    const auto first = kThemeFirstIndex[static_cast<std::size_t>(id.theme - 1)];
    const auto end = kThemeFirstIndex[static_cast<std::size_t>(id.theme)];
    if (id.number < 1 || id.number > end - first) throw std::out_of_range("no such question");
    return bankdata::kRecords[static_cast<std::size_t>(first + id.number - 1)];
}

std::span<const QuestionRecord> AllQuestions() { return bankdata::kRecords; }

std::uint32_t BankFingerprint() { return bankdata::kFingerprint; }

}  // namespace content
