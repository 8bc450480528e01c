#include "tools/bank/echo_check.h"

#include <algorithm>

#include "tools/bank/option_words.h"

namespace banktool {
namespace {

// The question's word that the option repeats, or nothing.
std::string RepeatedWord(const std::vector<ContentWord>& question, const std::string& option) {
    for (const ContentWord& word : ContentWords(option)) {
        if (HasStemOf(question, word)) return word.text;
    }
    return {};
}

// "взвод, рота, батальон" has three items; a decimal comma ("1,5") parts none.
std::size_t ListItems(const std::string& option) {
    std::size_t items = 1;
    for (std::size_t at = option.find(", "); at != std::string::npos; at = option.find(", ", at + 1)) ++items;
    return items;
}

}  // namespace

void CheckWordingEchoes(const BankRecord& record, Diagnostics& diagnostics) {
    const std::size_t right = static_cast<std::size_t>(record.right - 1);
    const int line = record.LineOf(OptionKey(record.right));
    const std::string where = "[" + record.name + "] ";
    const auto question = ContentWords(record.text);
    bool wrongEchoes = false;
    bool wrongBracket = false;
    std::size_t wrongItems = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        if (i == right) continue;
        wrongEchoes = wrongEchoes || !RepeatedWord(question, record.options[i]).empty();
        wrongBracket = wrongBracket || record.options[i].find('(') != std::string::npos;
        wrongItems = std::max(wrongItems, ListItems(record.options[i]));
    }
    const std::string echoed = RepeatedWord(question, record.options[right]);
    if (!echoed.empty() && !wrongEchoes) {
        diagnostics.Add(record.file, line,
                        where + "only the right option repeats a word of the question («" + echoed +
                            "»); reword it or let a wrong option share the word");
    }
    if (!wrongBracket && record.options[right].find('(') != std::string::npos) {
        diagnostics.Add(record.file, line, where + "only the right option has a bracket");
    }
    if (ListItems(record.options[right]) > wrongItems) {
        diagnostics.Add(record.file, line,
                        where + "the right option lists more items than any wrong one; list as many in a wrong one");
    }
}

}  // namespace banktool
