#include "tools/bank/centre_option_check.h"

#include <array>
#include <string>
#include <vector>

#include "tools/bank/option_words.h"

namespace banktool {
namespace {

using Words = std::array<std::vector<ContentWord>, 4>;

Words FeatureWordsOf(const std::array<std::string, 4>& options) {
    Words words;
    for (std::size_t i = 0; i < 4; ++i) words[i] = FeatureWords(options[i]);
    return words;
}

// Which options have the word.
std::array<bool, 4> Holders(const Words& words, const ContentWord& word) {
    std::array<bool, 4> holders{};
    for (std::size_t i = 0; i < 4; ++i) holders[i] = HasStemOf(words[i], word);
    return holders;
}

int Count(const std::array<bool, 4>& holders) {
    int count = 0;
    for (bool holds : holders) count += holds ? 1 : 0;
    return count;
}

// Options a and b share a word that not all four have: a word every option
// has tells none of them apart.
bool ShareFeature(const Words& words, std::size_t a, std::size_t b) {
    for (const ContentWord& word : words[a]) {
        const auto holders = Holders(words, word);
        if (holders[b] && Count(holders) < 4) return true;
    }
    return false;
}

}  // namespace

void CheckCentreOption(const BankRecord& record, Diagnostics& diagnostics) {
    const Words words = FeatureWordsOf(record.options);
    const auto right = static_cast<std::size_t>(record.right - 1);
    for (std::size_t i = 0; i < 4; ++i) {
        bool sharesWithAll = true;
        for (std::size_t other = 0; other < 4 && sharesWithAll; ++other) {
            if (other != i) sharesWithAll = ShareFeature(words, i, other);
        }
        if (sharesWithAll != (i == right)) return;
    }
    diagnostics.Add(record.file, record.LineOf(OptionKey(record.right)),
                    "[" + record.name +
                        "] the right option alone shares a word with every other option: the wrong ones "
                        "read as changes of it; balance the set, two features of two values each");
}

}  // namespace banktool
