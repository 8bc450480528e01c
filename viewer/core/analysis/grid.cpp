#include "viewer/core/analysis/grid.h"

#include <algorithm>

namespace viewer {

std::size_t TextWidth(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string AlignedText(const std::vector<std::vector<std::string>>& lines, const std::vector<bool>& rightAligned) {
    std::vector<std::size_t> widths;
    for (const auto& line : lines) {
        widths.resize(std::max(widths.size(), line.size()), 0);
        for (std::size_t c = 0; c < line.size(); ++c) widths[c] = std::max(widths[c], TextWidth(line[c]));
    }
    std::string out;
    for (const auto& line : lines) {
        std::string text;
        for (std::size_t c = 0; c < line.size(); ++c) {
            const std::string padding(widths[c] - TextWidth(line[c]), ' ');
            if (c > 0) text += "  ";
            const bool right = c < rightAligned.size() && rightAligned[c];
            text += right ? padding + line[c] : line[c] + padding;
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out += text + '\n';
    }
    return out;
}

}  // namespace viewer
