#include "tools/bank/bank_text.h"

#include <cstdio>

#include "log/cp1251.h"

namespace banktool {
namespace {

constexpr std::u32string_view kAllowedPunctuation = U" ,-–.:?()/°«»\"…";

bool IsRussianLetter(char32_t c) { return (c >= 0x0410 && c <= 0x044F) || c == 0x0401 || c == 0x0451; }

}  // namespace

bool IsAllowedCharacter(char32_t c) {
    return IsRussianLetter(c) || (c >= U'0' && c <= U'9') || kAllowedPunctuation.find(c) != std::u32string_view::npos;
}

std::string DescribeCharacter(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    std::string text = code;
    if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0)) text += " '" + resultslog::EncodeUtf8(c) + "'";
    if ((c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z')) text += " (Latin letter)";
    if (c == U'\t') text += " (tab)";
    return text;
}

bool IsLineBreakCharacter(char32_t c) {
    return c == U'\n' || c == U'\r' || c == U'\v' || c == U'\f' || c == 0x85 || c == 0x2028 || c == 0x2029;
}

std::vector<SpaceRun> SpaceRuns(std::string_view text, std::size_t minLength) {
    std::vector<SpaceRun> runs;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != ' ') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && text[end] == ' ') ++end;
        if (end - i >= minLength) runs.push_back({i, end - i});
        i = end;
    }
    return runs;
}

std::vector<SpaceRun> LineBreakRuns(std::string_view text) { return SpaceRuns(text, kLineBreakRunLength); }

std::string WithoutLineBreakRuns(std::string_view text) {
    std::string out;
    std::size_t from = 0;
    for (const SpaceRun& run : LineBreakRuns(text)) {
        out.append(text.substr(from, run.offset - from));
        out += ' ';
        from = run.offset + run.length;
    }
    out.append(text.substr(from));
    return out;
}

std::vector<std::string> LinesAtBreakRuns(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (const SpaceRun& run : LineBreakRuns(text)) {
        lines.emplace_back(text.substr(from, run.offset - from));
        from = run.offset + run.length;
    }
    lines.emplace_back(text.substr(from));
    return lines;
}

}  // namespace banktool
