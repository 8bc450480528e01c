#pragma once

#include <QChartView>

#include "viewer/core/item_analysis.h"

namespace viewer {

// How many attempts of each set of questions got each number right, the
// sets side by side: a set much harder than the others shows at a glance.
class ScoreHistogram : public QChartView {
    Q_OBJECT

public:
    explicit ScoreHistogram(QWidget* parent = nullptr);
    // Nothing for no theme.
    void Show(const ThemeAnalysis* theme);
};

}  // namespace viewer
