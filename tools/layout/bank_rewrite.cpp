#include "tools/layout/bank_rewrite.h"

#include <algorithm>

namespace layouttool {

using banktool::Field;

std::vector<std::string> RewriteLines(const banktool::BankFile& file, std::vector<RecordUpdate> updates) {
    std::vector<std::string> lines = file.lines;
    // From the bottom up, so that added lines do not move the records still to do.
    std::sort(updates.begin(), updates.end(),
              [](const RecordUpdate& a, const RecordUpdate& b) { return a.block->line > b.block->line; });
    for (const RecordUpdate& update : updates) {
        const banktool::RecordBlock& block = *update.block;
        if (const Field* text = block.Find(banktool::kTextKey)) {
            lines[static_cast<std::size_t>(text->line - 1)] = std::string(banktool::kTextKey) + ": " + update.text;
        }
        std::vector<std::string> added;
        auto put = [&](std::string_view key, const std::string& value) {
            const std::string line = std::string(key) + ": " + value;
            if (const Field* field = block.Find(key)) {
                lines[static_cast<std::size_t>(field->line - 1)] = line;
            } else {
                added.push_back(line);
            }
        };
        put(banktool::kLabelKey, banktool::FormatLabelLayout(update.label));
        put(banktool::kOptionsKey, banktool::FormatOptionsLayout(update.options));
        lines.insert(lines.begin() + block.lastLine, added.begin(), added.end());
    }
    return lines;
}

}  // namespace layouttool
