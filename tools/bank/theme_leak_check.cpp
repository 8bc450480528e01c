#include "tools/bank/theme_leak_check.h"

#include "engine/theme_table.h"
#include "tools/bank/excuse.h"
#include "tools/bank/key_regularity.h"
#include "tools/bank/option_words.h"

namespace banktool {
namespace {

// A word in this many other questions of the theme, text or options, is its
// common vocabulary («опорный пункт», «колонна», «полк»): seeing it in a
// text tells nothing.
constexpr std::size_t kCommonInQuestions = 3;

bool Uses(const BankRecord& record, const ContentWord& word) {
    if (HasStemOf(ContentWords(record.text), word)) return true;
    for (const std::string& option : record.options) {
        if (HasStemOf(ContentWords(option), word)) return true;
    }
    return false;
}

// The content words of the right option that none of its wrong options has.
std::vector<ContentWord> DistinctiveWords(const BankRecord& record) {
    std::vector<ContentWord> wrongWords;
    for (int position = 1; position <= 4; ++position) {
        if (position == record.right) continue;
        const auto words = ContentWords(record.options[static_cast<std::size_t>(position - 1)]);
        wrongWords.insert(wrongWords.end(), words.begin(), words.end());
    }
    std::vector<ContentWord> distinctive;
    for (ContentWord& word : ContentWords(record.options[static_cast<std::size_t>(record.right - 1)])) {
        if (!HasStemOf(wrongWords, word) && !HasStemOf(distinctive, word)) distinctive.push_back(std::move(word));
    }
    return distinctive;
}

// Of those, the ones that tell something: not the theme's subject, which
// its title names («оборона», «марш»), nor its common vocabulary.
std::vector<ContentWord> TellingWords(const BankRecord& record, const std::vector<BankRecord>& records) {
    const auto title = ContentWords(engine::Theme(record.theme).title);
    std::vector<ContentWord> telling;
    for (ContentWord& word : DistinctiveWords(record)) {
        if (HasStemOf(title, word)) continue;
        std::size_t questions = 0;
        for (const BankRecord& other : records) {
            if (other.theme == record.theme && &other != &record && Uses(other, word)) ++questions;
        }
        if (questions < kCommonInQuestions) telling.push_back(std::move(word));
    }
    return telling;
}

}  // namespace

void CheckThemeLeaks(const std::vector<BankRecord>& records, Diagnostics& diagnostics) {
    for (const BankRecord& record : records) {
        if (record.right < 1 || record.right > 4) continue;
        const auto telling = TellingWords(record, records);
        std::vector<std::string> leaks;
        for (const BankRecord& other : records) {
            if (other.theme != record.theme || &other == &record) continue;
            const auto text = ContentWords(other.text);
            std::string shared;
            for (const ContentWord& word : telling) {
                if (HasStemOf(text, word)) shared += (shared.empty() ? "«" : ", «") + word.text + "»";
            }
            if (!shared.empty()) leaks.push_back("the text of [" + other.name + "] has " + shared);
        }
        const auto regularities = KeyRegularities(record, records);
        if (Excused(record, kNoHintKey, !leaks.empty() || !regularities.empty(), diagnostics)) continue;
        for (const std::string& regularity : regularities) {
            diagnostics.Add(record.file, record.LineOf(OptionKey(record.right)),
                            "[" + record.name + "] " + regularity +
                                "; offer it as a wrong option in one of them, or say in a 'не подсказка:' line "
                                "why it gives nothing away");
        }
        for (const std::string& leak : leaks) {
            diagnostics.Add(record.file, record.LineOf(OptionKey(record.right)),
                            "[" + record.name + "] " + leak +
                                ", which only the right option has; reword one of them, or say in a "
                                "'не подсказка:' line why it gives nothing away");
        }
    }
}

}  // namespace banktool
