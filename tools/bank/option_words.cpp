#include "tools/bank/option_words.h"

#include <algorithm>
#include <array>

#include "log/cp1251.h"

namespace banktool {
namespace {

constexpr std::size_t kStemLetters = 5;
constexpr std::size_t kLongestEnding = 5;
constexpr std::size_t kShortestContentWord = 4;

// Words of four or more letters that say nothing of the subject, in the
// forms the bank uses. The enemy, «основной» and «в ходе» stand in
// questions of every theme.
constexpr auto kStopWords = std::to_array<std::u32string_view>(
    {U"является",    U"являются",   U"который",  U"которые",  U"которых",  U"какой",     U"какая",      U"какие",
     U"каких",       U"каким",      U"какого",   U"какое",    U"каком",    U"сколько",   U"чего",       U"этот",
     U"этого",       U"этой",       U"этих",     U"того",     U"также",    U"только",    U"между",      U"перед",
     U"через",       U"после",      U"более",    U"менее",    U"около",    U"свыше",     U"может",      U"могут",
     U"должен",      U"должны",     U"входит",   U"входят",   U"время",    U"противник", U"противника", U"противнику",
     U"противником", U"противнике", U"основной", U"основные", U"основным", U"основная",  U"основного",  U"основу",
     U"основой",     U"ходе",       U"ходу"});

// Three-letter words that say nothing of the subject.
constexpr auto kShortStopWords = std::to_array<std::u32string_view>(
    {U"для", U"при", U"под", U"над", U"или", U"без", U"как", U"все", U"что", U"это", U"его", U"так", U"чем", U"где"});

bool IsCyrillicLetter(char32_t c) { return (c >= U'А' && c <= U'я') || c == U'ё' || c == U'Ё'; }

char32_t ToLower(char32_t c) {
    if (c >= U'А' && c <= U'Я') return c + (U'а' - U'А');
    if (c == U'Ё' || c == U'ё') return U'е';
    return c;
}

}  // namespace

std::vector<std::u32string> CyrillicWords(std::string_view utf8) {
    std::vector<std::u32string> words;
    const auto text = resultslog::DecodeUtf8(utf8);
    if (!text) return words;
    std::u32string word;
    for (char32_t c : *text + U' ') {
        if (IsCyrillicLetter(c)) {
            word += ToLower(c);
        } else if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    return words;
}

bool SameStem(std::u32string_view a, std::u32string_view b) {
    const auto [endA, endB] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    const auto common = static_cast<std::size_t>(endA - a.begin());
    return common >= std::min({kStemLetters, a.size(), b.size()}) && a.size() - common <= kLongestEnding &&
           b.size() - common <= kLongestEnding;
}

std::vector<ContentWord> ContentWords(std::string_view utf8) {
    std::vector<ContentWord> result;
    for (std::u32string& word : CyrillicWords(utf8)) {
        if (word.size() < kShortestContentWord) continue;
        if (std::find(kStopWords.begin(), kStopWords.end(), word) != kStopWords.end()) continue;
        std::string text;
        for (char32_t c : word) text += resultslog::EncodeUtf8(c);
        result.push_back({std::move(text), std::move(word)});
    }
    return result;
}

std::vector<ContentWord> FeatureWords(std::string_view utf8) {
    std::vector<ContentWord> result;
    for (std::u32string& word : CyrillicWords(utf8)) {
        if (word.size() < 3) continue;
        if (std::find(kStopWords.begin(), kStopWords.end(), word) != kStopWords.end()) continue;
        if (std::find(kShortStopWords.begin(), kShortStopWords.end(), word) != kShortStopWords.end()) continue;
        std::string text;
        for (char32_t c : word) text += resultslog::EncodeUtf8(c);
        result.push_back({std::move(text), std::move(word)});
    }
    return result;
}

bool HasStemOf(const std::vector<ContentWord>& words, const ContentWord& word) {
    return std::any_of(words.begin(), words.end(),
                       [&](const ContentWord& other) { return SameStem(other.letters, word.letters); });
}

}  // namespace banktool
