#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace banktool {

inline constexpr int kTextMinLength = 10;  // characters
inline constexpr int kTextMaxLength = 229;
inline constexpr int kOptionMaxLength = 93;
inline constexpr int kMaxLineBreaks = 2;  // a label shows at most three lines

// The question window's design width and the bounds its controls keep to.
inline constexpr int kWindowWidth = 800;
inline constexpr int kWindowCentre = 400;
inline constexpr int kLabelMinWidth = 92;
inline constexpr int kLabelMaxWidth = 726;
inline constexpr int kLabelCentreTolerance = 5;
inline constexpr int kOptionMinWidth = 209;
inline constexpr int kOptionMaxWidth = 729;
inline constexpr int kPictureTop = 56;
// Rows and buttons of the question window, for the records that move them.
inline constexpr int kWindowMaxHeight = 551;  // the window, title bar included, fits an 800 × 600 screen
inline constexpr int kOptionsMinTop = 121;    // below the tallest picture box (top 56, 65 high)
inline constexpr int kRowHeight = 25;         // of an option and of a button
inline constexpr int kStartWidth = 223;
inline constexpr int kExitLeft = 469;

// The answer key: the right option of each question of the theme, in number
// order; its length is the theme's bank size. This table is the one source
// of the right positions: the records' 'верный:' lines and the compiled bank
// are checked against it.
std::vector<int> RightPositions(int theme);

// Theme 1 leaves room above the text of all but its first question.
int LabelTopFor(int theme, int number);

// The shared text of the map-sign questions that differ only by picture.
inline constexpr std::string_view kMapSignText = "Что обозначается на картах условным знаком";
inline constexpr std::array<std::string_view, 5> kMapSignQuestions{"Tq515", "Tq516", "Tq517", "Tq519", "Tq520"};

// Records whose content and placement are fixed exactly; the layout tool
// keeps their values instead of measuring.
struct PinnedRecord {
    std::string_view name;
    std::string_view text;
    std::array<std::string_view, 4> options;
    int right;
    int labelLeft;
    int labelTop;
    int labelWidth;
    int optionsLeft;
};

const std::array<PinnedRecord, 3>& PinnedRecords();
const PinnedRecord* FindPinnedRecord(std::string_view name);

}  // namespace banktool
