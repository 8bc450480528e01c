#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/bank/diagnostics.h"

namespace banktool {

// The keys of a record's lines.
inline constexpr std::string_view kTextKey = "вопрос";
inline constexpr std::string_view kRightKey = "верный";
inline constexpr std::string_view kPictureKey = "рисунок";
inline constexpr std::string_view kLabelKey = "надпись";
inline constexpr std::string_view kOptionsKey = "варианты";
// Only in the few windows drawn off the common design (see FORMAT.md).
inline constexpr std::string_view kWindowKey = "окно";
// Why the right option may stand far longer than the others (see FORMAT.md).
inline constexpr std::string_view kLongRightKey = "длинный верный";
// Why another question's text may share a word that only the right option
// has (see FORMAT.md).
inline constexpr std::string_view kNoHintKey = "не подсказка";
std::string OptionKey(int position);  // "1" … "4"

struct Field {
    std::string value;  // everything after "key: ", spaces included
    int line = 0;
};

// One [Tq…] block as it stands in the file, before its values are checked.
struct RecordBlock {
    std::string name;
    int line = 0;      // of the [name] line
    int lastLine = 0;  // of its last key line
    std::map<std::string, Field, std::less<>> fields;

    const Field* Find(std::string_view key) const;
};

struct BankFile {
    std::string path;  // as reported in messages
    int theme = 0;
    std::vector<std::string> lines;  // without line ends
    std::vector<RecordBlock> records;
};

// "theme-05.txt"
std::string ThemeFileName(int theme);

// Reads the structure of a theme file; syntax faults go to diagnostics.
BankFile ParseBankText(std::string path, int theme, std::string_view content, Diagnostics& diagnostics);
std::optional<BankFile> ReadBankFile(const std::filesystem::path& path, int theme, Diagnostics& diagnostics);

// All thirteen files of a directory; a missing one is reported and skipped.
std::vector<BankFile> ReadBankDirectory(const std::filesystem::path& directory, Diagnostics& diagnostics);

// The file's text with lines joined by LF, ending with one.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace banktool
