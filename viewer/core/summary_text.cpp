#include <algorithm>

#include "viewer/core/export.h"

namespace viewer {

namespace {

std::size_t Width(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

std::string SummaryText(const Summary& summary) {
    std::vector<std::vector<std::string>> lines;
    lines.emplace_back();
    for (int c = 0; c < kSummaryColumnCount; ++c)
        lines.back().push_back(SummaryColumnTitle(static_cast<SummaryColumn>(c)));
    auto addTally = [&](const Tally& tally) {
        lines.emplace_back();
        for (int c = 0; c < kSummaryColumnCount; ++c) {
            lines.back().push_back(SummaryCellText(tally, static_cast<SummaryColumn>(c)));
        }
    };
    for (const Tally& tally : summary.platoons) addTally(tally);
    addTally(summary.overall);

    std::vector<std::size_t> widths(kSummaryColumnCount, 0);
    for (const auto& line : lines) {
        for (std::size_t c = 0; c < line.size(); ++c) widths[c] = std::max(widths[c], Width(line[c]));
    }
    std::string out;
    for (const auto& line : lines) {
        std::string text;
        for (std::size_t c = 0; c < line.size(); ++c) {
            const std::string padding(widths[c] - Width(line[c]), ' ');
            // The platoon reads from the left, the numbers line up on the right.
            text += c == 0 ? line[c] + padding : "  " + padding + line[c];
        }
        out += text + '\n';
    }
    return out;
}

}  // namespace viewer
