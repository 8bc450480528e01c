#pragma once

#include <QChart>

#include "viewer/core/analysis/item_analysis.h"

namespace viewer {

// How many attempts of each set of questions got each number right, the
// sets side by side, on `chart` (emptied before): a set much harder than
// the others shows at a glance. Nothing for no theme.
void DrawScoreHistogram(QChart& chart, const ThemeAnalysis* theme);

}  // namespace viewer
