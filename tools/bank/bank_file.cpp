#include "tools/bank/bank_file.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "engine/theme_table.h"
#include "log/cp1251.h"
#include "tools/bank/bank_text.h"

namespace banktool {
namespace {

bool IsKnownKey(std::string_view key) {
    static const std::array<std::string, 12> keys{std::string(kTextKey),
                                                  "1",
                                                  "2",
                                                  "3",
                                                  "4",
                                                  std::string(kRightKey),
                                                  std::string(kPictureKey),
                                                  std::string(kLabelKey),
                                                  std::string(kOptionsKey),
                                                  std::string(kWindowKey),
                                                  std::string(kLongRightKey),
                                                  std::string(kNoHintKey)};
    for (const std::string& known : keys) {
        if (known == key) return true;
    }
    return false;
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

std::vector<std::string> SplitLines(std::string_view content) {
    if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);  // a byte-order mark some editors add
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < content.size()) {
        std::size_t end = content.find('\n', from);
        if (end == std::string_view::npos) end = content.size();
        std::string_view line = content.substr(from, end - from);
        if (line.ends_with('\r')) line.remove_suffix(1);  // saved with CR LF line ends
        lines.emplace_back(line);
        from = end + 1;
    }
    return lines;
}

}  // namespace

std::string OptionKey(int position) { return std::to_string(position); }

const Field* RecordBlock::Find(std::string_view key) const {
    const auto it = fields.find(key);
    return it == fields.end() ? nullptr : &it->second;
}

std::string ThemeFileName(int theme) {
    char name[32];
    std::snprintf(name, sizeof name, "theme-%02d.txt", theme);
    return name;
}

BankFile ParseBankText(std::string path, int theme, std::string_view content, Diagnostics& diagnostics) {
    BankFile file;
    file.path = std::move(path);
    file.theme = theme;
    file.lines = SplitLines(content);
    RecordBlock* record = nullptr;
    for (std::size_t index = 0; index < file.lines.size(); ++index) {
        const int lineNumber = static_cast<int>(index) + 1;
        const std::string& line = file.lines[index];
        auto error = [&](std::string message) { diagnostics.Add(file.path, lineNumber, std::move(message)); };
        if (!resultslog::DecodeUtf8(line)) {
            error("the line is not valid UTF-8 (save the file as UTF-8)");
            continue;
        }
        if (IsBlank(line) || line.starts_with('#')) continue;
        if (line.starts_with('[')) {
            if (!line.ends_with(']') || line.size() < 3) {
                error("a record name line must read [Tq…]");
                record = nullptr;
                continue;
            }
            file.records.push_back({line.substr(1, line.size() - 2), lineNumber, lineNumber, {}});
            record = &file.records.back();
            continue;
        }
        const std::size_t colon = line.find(':');
        const std::string key = line.substr(0, colon);
        if (colon == std::string::npos || !IsKnownKey(key)) {
            error("unknown line '" + line +
                  "': expected one of вопрос:, 1: … 4:, верный:, рисунок:, надпись:, варианты:, окно:, "
                  "длинный верный:");
            continue;
        }
        if (colon + 1 < line.size() && line[colon + 1] != ' ') {
            error("'" + key + ":' must be followed by one space");
            continue;
        }
        if (record == nullptr) {
            error("'" + key + ":' stands outside a record; a record starts with its [Tq…] line");
            continue;
        }
        if (const Field* earlier = record->Find(key)) {
            error("second '" + key + ":' line in [" + record->name + "] (the first is on line " +
                  std::to_string(earlier->line) + ")");
            continue;
        }
        const std::string value = colon + 2 <= line.size() ? line.substr(colon + 2) : std::string();
        record->fields.emplace(key, Field{value, lineNumber});
        record->lastLine = lineNumber;
    }
    return file;
}

std::optional<BankFile> ReadBankFile(const std::filesystem::path& path, int theme, Diagnostics& diagnostics) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        diagnostics.Add(path.string(), 0, "cannot open the file");
        return std::nullopt;
    }
    std::ostringstream content;
    content << in.rdbuf();
    return ParseBankText(path.string(), theme, content.str(), diagnostics);
}

std::vector<BankFile> ReadBankDirectory(const std::filesystem::path& directory, Diagnostics& diagnostics) {
    std::vector<BankFile> files;
    for (int theme = 1; theme <= engine::kThemeCount; ++theme) {
        if (auto file = ReadBankFile(directory / ThemeFileName(theme), theme, diagnostics)) {
            files.push_back(std::move(*file));
        }
    }
    return files;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + '\n';
    return text;
}

}  // namespace banktool
