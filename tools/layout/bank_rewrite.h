#pragma once

#include <string>
#include <vector>

#include "tools/bank/bank_file.h"
#include "tools/bank/bank_record.h"

namespace layouttool {

struct RecordUpdate {
    const banktool::RecordBlock* block = nullptr;
    std::string text;
    banktool::LabelLayout label;
    banktool::OptionsLayout options;
};

// The file's lines with each updated record's text and layout lines
// replaced, or the layout lines added after the record's last line.
// Everything else, comments included, stays as it was.
std::vector<std::string> RewriteLines(const banktool::BankFile& file, std::vector<RecordUpdate> updates);

}  // namespace layouttool
