#include "tools/bank/wording_check.h"

#include "log/cp1251.h"

namespace banktool {
namespace {

constexpr char32_t kYo = U'ё';
constexpr char32_t kCapitalYo = U'Ё';

bool IsUpperRussian(char32_t c) { return (c >= U'А' && c <= U'Я') || c == kCapitalYo; }
bool IsLowerRussian(char32_t c) { return (c >= U'а' && c <= U'я') || c == kYo; }

// A first word in capitals only is an abbreviation or a letter designation.
bool IsAbbreviation(std::u32string_view word) {
    int capitals = 0;
    for (char32_t c : word) {
        if (IsLowerRussian(c)) return false;
        if (IsUpperRussian(c)) ++capitals;
    }
    return capitals > 0;
}

void CheckNoYo(const BankRecord& record, std::string_view key, const std::string& value, Diagnostics& diagnostics) {
    const auto codePoints = resultslog::DecodeUtf8(value);
    if (!codePoints) return;  // reported by the character check
    if (codePoints->find(kYo) != std::u32string::npos || codePoints->find(kCapitalYo) != std::u32string::npos) {
        diagnostics.Add(record.file, record.LineOf(key),
                        "[" + record.name +
                            "] write «е» for «ё»: the bank follows the field manuals, which do not "
                            "print «ё»");
    }
}

void CheckCapital(const BankRecord& record, int position, bool continuesText, Diagnostics& diagnostics) {
    const auto option = resultslog::DecodeUtf8(record.options[static_cast<std::size_t>(position - 1)]);
    if (!option) return;
    const std::size_t start = option->find_first_not_of(U' ');
    if (start == std::u32string::npos) return;
    const char32_t first = (*option)[start];
    if (!IsUpperRussian(first) && !IsLowerRussian(first)) return;  // a number or a quotation
    const std::size_t end = option->find_first_of(U" ,", start);
    // A lone letter names a zone or a point («Г»); one before more words is
    // a preposition or conjunction («В составе роты») and follows the rule.
    const bool moreWords = end != std::u32string::npos && option->find_first_not_of(U" ,", end) != std::u32string::npos;
    const bool preposition = end - start == 1 && moreWords;
    if (!preposition && IsAbbreviation(std::u32string_view(*option).substr(start, end - start))) return;
    if (continuesText && IsUpperRussian(first)) {
        diagnostics.Add(record.file, record.LineOf(OptionKey(position)),
                        "[" + record.name + "] option " + std::to_string(position) +
                            " continues the question text after its colon: begin it in lower case");
    } else if (!continuesText && IsLowerRussian(first)) {
        diagnostics.Add(record.file, record.LineOf(OptionKey(position)),
                        "[" + record.name + "] option " + std::to_string(position) +
                            " answers a question that does not end with a colon: begin it with a capital");
    }
}

}  // namespace

void CheckWording(const BankRecord& record, Diagnostics& diagnostics) {
    CheckNoYo(record, kTextKey, record.text, diagnostics);
    const std::size_t last = record.text.find_last_not_of(' ');
    const bool continuesText = last != std::string::npos && record.text[last] == ':';
    for (int position = 1; position <= 4; ++position) {
        CheckNoYo(record, OptionKey(position), record.options[static_cast<std::size_t>(position - 1)], diagnostics);
        CheckCapital(record, position, continuesText, diagnostics);
    }
}

}  // namespace banktool
