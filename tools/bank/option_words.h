#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace banktool {

// A word that carries meaning, in lower case.
struct ContentWord {
    std::string text;  // UTF-8, in lower case, for messages
    std::u32string letters;
};

// The Cyrillic words of a text, in lower case, in their order.
std::vector<std::u32string> CyrillicWords(std::string_view utf8);

// The words of four or more letters that are not prepositions, conjunctions,
// pronouns, linking verbs or words every tactics question uses.
std::vector<ContentWord> ContentWords(std::string_view utf8);

// A crude stem match: the words agree in at least their first five letters
// (the whole of a shorter word), and what follows in each is an ending of up
// to five letters: «защиты» and «защитный», «опорного» and «опорные»,
// «наблюдения» and «наблюдатель», but not «противника» and
// «противотанковых», nor «органы» and «организации».
bool SameStem(std::u32string_view a, std::u32string_view b);

bool HasStemOf(const std::vector<ContentWord>& words, const ContentWord& word);

// The words that tell options apart: the content words and words of three
// letters such as мсв, мср or рот, short prepositions and conjunctions left out.
std::vector<ContentWord> FeatureWords(std::string_view utf8);

}  // namespace banktool
