// Small theme files for the bank's rule tests: each record takes eight lines
// ([name], вопрос, four options, верный, a blank), so record k (from 0)
// has its option p on line 2 + p + 8k.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "tools/bank/bank_file.h"
#include "tools/bank/bank_record.h"
#include "tools/bank/diagnostics.h"

namespace banktest {

using banktool::BankRecord;
using banktool::Diagnostics;
using Messages = std::vector<std::string>;

inline std::string Record(const std::string& name, const std::string& question,
                          const std::array<std::string, 4>& options, int right) {
    std::string text = "[" + name + "]\nвопрос: " + question + "\n";
    for (int position = 1; position <= 4; ++position) {
        text += std::to_string(position) + ": " + options[static_cast<std::size_t>(position - 1)] + "\n";
    }
    return text + "верный: " + std::to_string(right) + "\n\n";
}

// The record with one more line ("key: value") before its blank line.
inline std::string WithLine(std::string record, const std::string& line) {
    record.insert(record.size() - 1, line + "\n");
    return record;
}

// The messages of a check over the records of a theme 3 file "t.txt".
inline Messages RunCheck(const std::string& text,
                         const std::function<void(const std::vector<BankRecord>&, Diagnostics&)>& check) {
    Diagnostics reading;
    const banktool::BankFile file = banktool::ParseBankText("t.txt", 3, text, reading);
    std::vector<BankRecord> records;
    int number = 0;
    for (const auto& block : file.records) records.push_back(banktool::ReadRecord(file, block, ++number, reading));
    Diagnostics found;
    check(records, found);
    Messages messages;
    for (const auto& diagnostic : found.Sorted()) messages.push_back(banktool::FormatDiagnostic(diagnostic));
    return messages;
}

// A check of one record at a time over every record of the text.
inline Messages RunRecordCheck(const std::string& text, void (*check)(const BankRecord&, Diagnostics&)) {
    return RunCheck(text, [check](const std::vector<BankRecord>& records, Diagnostics& diagnostics) {
        for (const BankRecord& record : records) check(record, diagnostics);
    });
}

}  // namespace banktest
