#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "content/question_window_design.h"
#include "tools/bank/bank_file.h"
#include "tools/bank/diagnostics.h"
#include "tools/bank/picture_table.h"

namespace banktool {

struct LabelLayout {
    int left = 0;
    int top = 0;
    int width = 0;
};

struct OptionsLayout {
    int left = 0;
    std::array<int, 4> widths{};
};

inline constexpr int kUnreadRight = -1;

// A record with its values read; the layout lines may still be missing.
struct BankRecord {
    std::string file;
    int theme = 0;
    int number = 0;  // its place in the file, 1 …
    std::string name;
    std::string text;
    std::array<std::string, 4> options;
    int right = kUnreadRight;
    std::optional<app::Rect> picture;
    std::optional<LabelLayout> label;
    std::optional<OptionsLayout> optionsLayout;
    std::optional<content::QuestionWindowDesign> window;  // only where the window differs from the rest
    RecordBlock source;

    // The line of a key, or of the record's name when the key is missing.
    int LineOf(std::string_view key) const;
};

// Reads the values of a block; malformed values go to diagnostics.
BankRecord ReadRecord(const BankFile& file, const RecordBlock& block, int number, Diagnostics& diagnostics);

// "256 0 285" and "272 | 209 209 209 209", as the files write them.
std::string FormatLabelLayout(const LabelLayout& label);
std::string FormatOptionsLayout(const OptionsLayout& options);
// "550 | 152 216 279 343 | 502 111": client height | option tops | buttons' top, forward button's left.
std::string FormatWindowDesign(const content::QuestionWindowDesign& window);

}  // namespace banktool
