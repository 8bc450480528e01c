#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "tools/bank/bank_record.h"

namespace layouttool {

// Widths in pixels as the question window's fonts give them.
struct Measure {
    // The advance of one line of question text, spaces included.
    std::function<double(std::string_view utf8)> labelTextWidth;
    // The width a radio button needs to show an option on one line.
    std::function<int(std::string_view utf8)> optionWidth;
};

struct ComputedLayout {
    std::string text;  // with a run of spaces at each line break
    banktool::LabelLayout label;
    banktool::OptionsLayout options;
    int lineCount = 1;
};

// A label's width beyond its longest line, so that rounding in the
// renderer never wraps a line that should fit.
inline constexpr int kLabelSlack = 2;
// Options stand at one of these left edges when they fit before the
// right margin, else as far right as they fit, but not left of the minimum.
inline constexpr int kOptionsRightLimit = 792;
inline constexpr int kOptionsPreferredLeft = 272;
inline constexpr int kOptionsWideLeft = 176;
inline constexpr int kOptionsMinLeft = 56;

// The layout lines of a record and its text with line breaks placed.
// Records whose placement is fixed keep their text and label. Empty, with
// the reason in problem, when the text or an option cannot be placed.
std::optional<ComputedLayout> ComputeLayout(const banktool::BankRecord& record, const Measure& measure,
                                            std::string& problem);

}  // namespace layouttool
