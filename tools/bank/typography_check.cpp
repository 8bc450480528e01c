#include "tools/bank/typography_check.h"

#include <string>
#include <string_view>

#include "tools/bank/bank_rules.h"

namespace banktool {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number, a hyphen and a number, where the first number opens a word: a
// range. After a letter or another hyphen the digits belong to a
// designation («Т-72», «ЗСУ-23-4»).
bool HasHyphenRange(std::string_view text) {
    for (std::size_t at = text.find('-'); at != std::string_view::npos; at = text.find('-', at + 1)) {
        if (at == 0 || at + 1 == text.size() || !IsDigit(text[at - 1]) || !IsDigit(text[at + 1])) continue;
        std::size_t start = at;
        while (start > 0 && (IsDigit(text[start - 1]) || text[start - 1] == ',')) --start;
        if (start == 0 || text[start - 1] == ' ' || text[start - 1] == '(') return true;
    }
    return false;
}

bool IsFixedRecord(const BankRecord& record) {
    if (FindPinnedRecord(record.name) != nullptr) return true;
    for (std::string_view name : kMapSignQuestions) {
        if (record.name == name) return true;
    }
    return false;
}

}  // namespace

void CheckTypography(const BankRecord& record, Diagnostics& diagnostics) {
    if (IsFixedRecord(record)) return;
    auto check = [&](std::string_view key, const std::string& value, const std::string& what) {
        const std::string where = "[" + record.name + "] " + what;
        if (value.find('"') != std::string::npos) {
            diagnostics.Add(record.file, record.LineOf(key), where + " has a straight quote: write «…»");
        }
        if (HasHyphenRange(value)) {
            diagnostics.Add(record.file, record.LineOf(key),
                            where + " joins a range of numbers by a hyphen: write a dash, «10–15»");
        }
    };
    check(kTextKey, record.text, "the question text");
    for (int position = 1; position <= 4; ++position) {
        check(OptionKey(position), record.options[static_cast<std::size_t>(position - 1)],
              "option " + std::to_string(position));
    }
}

}  // namespace banktool
