#include "tools/bank/key_regularity.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "tools/bank/option_words.h"

namespace banktool {
namespace {

// Three questions make a rule a student can find.
constexpr int kRegularQuestions = 3;

// Where a question offers a cue, whether its right option has it.
enum class Offer { none, inRight, elsewhere };

std::string_view Trimmed(std::string_view text) {
    while (text.starts_with(' ')) text.remove_prefix(1);
    while (text.ends_with(' ')) text.remove_suffix(1);
    return text;
}

Offer OfferOfText(const BankRecord& record, std::string_view text) {
    for (std::size_t i = 0; i < 4; ++i) {
        if (Trimmed(record.options[i]) == text) {
            return static_cast<int>(i) + 1 == record.right ? Offer::inRight : Offer::elsewhere;
        }
    }
    return Offer::none;
}

// A word tells options apart where some have it and some do not.
Offer OfferOfWord(const BankRecord& record, const ContentWord& word) {
    std::array<bool, 4> has{};
    for (std::size_t i = 0; i < 4; ++i) has[i] = HasStemOf(FeatureWords(record.options[i]), word);
    const auto count = std::count(has.begin(), has.end(), true);
    if (count == 0 || count == 4) return Offer::none;
    return has[static_cast<std::size_t>(record.right - 1)] ? Offer::inRight : Offer::elsewhere;
}

bool Waived(const BankRecord& record) { return record.source.Find(kNoHintKey) != nullptr; }

// The other unwaived questions of the theme with the cue in their right
// option, or nothing when a question offers it in a wrong option alone.
template <typename OfferOf>
std::optional<std::vector<const BankRecord*>> AlwaysRight(const BankRecord& record,
                                                          const std::vector<BankRecord>& records,
                                                          const OfferOf& offerOf) {
    std::vector<const BankRecord*> others;
    for (const BankRecord& other : records) {
        if (other.theme != record.theme || &other == &record || other.right < 1 || other.right > 4) continue;
        const Offer offer = offerOf(other);
        if (offer == Offer::elsewhere) return std::nullopt;
        if (offer == Offer::inRight && !Waived(other)) others.push_back(&other);
    }
    return others;
}

std::string Finding(const std::string& cue, const std::vector<const BankRecord*>& others) {
    std::string names;
    for (const BankRecord* other : others) names += (names.empty() ? "[" : ", [") + other->name + "]";
    return cue + " is in the right option here and in " + names +
           ", and never a wrong option alone in the theme: a student learns to pick it";
}

}  // namespace

std::vector<std::string> KeyRegularities(const BankRecord& record, const std::vector<BankRecord>& records) {
    std::vector<std::string> findings;
    if (record.right < 1 || record.right > 4) return findings;
    // A waived question is still found, so that its line is not taken for
    // a stale one; it counts only for itself.
    const auto enough = [](const std::vector<const BankRecord*>& others) {
        return static_cast<int>(others.size()) + 1 >= kRegularQuestions;
    };
    const std::string_view right = Trimmed(record.options[static_cast<std::size_t>(record.right - 1)]);
    const auto sameText =
        AlwaysRight(record, records, [&](const BankRecord& other) { return OfferOfText(other, right); });
    if (sameText && enough(*sameText)) findings.push_back(Finding("«" + std::string(right) + "»", *sameText));
    for (const ContentWord& word : FeatureWords(right)) {
        if (OfferOfWord(record, word) != Offer::inRight) continue;
        const auto sameWord =
            AlwaysRight(record, records, [&](const BankRecord& other) { return OfferOfWord(other, word); });
        if (sameWord && enough(*sameWord)) findings.push_back(Finding("the word «" + word.text + "»", *sameWord));
    }
    return findings;
}

}  // namespace banktool
