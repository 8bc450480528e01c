#include "viewer/core/analysis/compiled_bank.h"

#include <string_view>

#include "content/bank/question_bank_data.h"
#include "content/bank/question_sources.h"
#include "content/question_bank.h"
#include "content/question_names.h"

namespace viewer {

std::uint32_t CompiledBankFingerprint() { return content::BankFingerprint(); }

BankLookup CompiledBankLookup() {
    return [](std::uint32_t bank, const std::string& name) -> std::optional<BankQuestion> {
        if (bank != CompiledBankFingerprint()) return std::nullopt;
        const auto id = content::ParseWindowClassName(name);
        if (!id) return std::nullopt;
        const content::QuestionRecord& record = content::Question(*id);
        BankQuestion question;
        question.text = record.text;
        for (std::size_t i = 0; i < 4; ++i) question.options[i] = record.options[i];
        question.right = record.right;
        // The sources are in the records' order.
        const auto index = static_cast<std::size_t>(&record - content::bankdata::kRecords.data());
        const content::bankdata::QuestionSource& source = content::bankdata::kSources[index];
        question.source = BankSource{std::string(source.file), source.line};
        return question;
    };
}

}  // namespace viewer
