#include "tools/bank/bank_text.h"

#include <array>
#include <cstdio>

namespace banktool {
namespace {

// Code points of bytes 0x80 … 0xBF; 0 where the code page has no character.
constexpr std::array<char32_t, 64> kCp1251High{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

constexpr std::u32string_view kAllowedPunctuation = U" ,-.:?()/°\"…";

bool IsRussianLetter(char32_t c) { return (c >= 0x0410 && c <= 0x044F) || c == 0x0401 || c == 0x0451; }

}  // namespace

std::optional<std::u32string> DecodeUtf8(std::string_view bytes) {
    std::u32string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, cp = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, cp = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, cp = lead & 0x07, minimum = 0x10000;
        } else {
            return std::nullopt;
        }
        if (i + extra >= bytes.size() && extra > 0) return std::nullopt;  // cut short
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (extra > 0 && cp < minimum) return std::nullopt;  // overlong form
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

std::string EncodeUtf8(char32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

std::optional<unsigned char> Cp1251Byte(char32_t cp) {
    if (cp < 0x80) return static_cast<unsigned char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<unsigned char>(0xC0 + (cp - 0x0410));
    for (std::size_t i = 0; i < kCp1251High.size(); ++i) {
        if (kCp1251High[i] == cp) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

bool IsAllowedCharacter(char32_t c) {
    return IsRussianLetter(c) || (c >= U'0' && c <= U'9') || kAllowedPunctuation.find(c) != std::u32string_view::npos;
}

std::string DescribeCharacter(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    std::string text = code;
    if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0)) text += " '" + EncodeUtf8(c) + "'";
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
