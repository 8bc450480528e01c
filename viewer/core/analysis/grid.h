#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace viewer {

// A table as every export writes it: titles, then rows of cells, each
// with its text and, for a number, its value for spreadsheets.
struct GridCell {
    std::string text;
    std::optional<double> number;
};

struct Grid {
    std::vector<std::string> titles;
    std::vector<double> widths;  // in characters, as spreadsheets measure columns
    std::vector<std::vector<GridCell>> rows;
    std::vector<bool> headings;  // rows that head the ones below, shown shaded
};

// Lines of cells as aligned plain text: each column as wide as its widest
// cell, right-aligned where rightAligned says so, two spaces between.
std::string AlignedText(const std::vector<std::vector<std::string>>& lines, const std::vector<bool>& rightAligned);

// Display width of UTF-8 text, in characters.
std::size_t TextWidth(const std::string& utf8);

}  // namespace viewer
