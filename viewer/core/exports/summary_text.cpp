#include "viewer/core/analysis/grid.h"
#include "viewer/core/exports/export.h"

namespace viewer {

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
    // The platoon reads from the left, the numbers line up on the right.
    std::vector<bool> rightAligned(kSummaryColumnCount, true);
    rightAligned[0] = false;
    return AlignedText(lines, rightAligned);
}

}  // namespace viewer
