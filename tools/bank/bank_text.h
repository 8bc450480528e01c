#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace banktool {

// A run of this many spaces or more in a question text is a line break.
inline constexpr std::size_t kLineBreakRunLength = 5;

// Russian letters, digits, space and the punctuation the bank uses.
bool IsAllowedCharacter(char32_t codePoint);

// For messages: U+0063 'c' (Latin letter), so that a look-alike is found.
std::string DescribeCharacter(char32_t codePoint);

bool IsLineBreakCharacter(char32_t codePoint);

struct SpaceRun {
    std::size_t offset = 0;  // in bytes
    std::size_t length = 0;
};

// The runs of `minLength` or more spaces, in order.
std::vector<SpaceRun> SpaceRuns(std::string_view text, std::size_t minLength);

// The runs of kLineBreakRunLength or more spaces, in order.
std::vector<SpaceRun> LineBreakRuns(std::string_view text);

// The text with every line-break run turned back into one space.
std::string WithoutLineBreakRuns(std::string_view text);

// The text's lines as the question window shows them, the runs removed.
std::vector<std::string> LinesAtBreakRuns(std::string_view text);

}  // namespace banktool
