#pragma once

#include <QChartView>

#include <optional>

#include "viewer/core/analysis/item_analysis.h"
#include "viewer/core/analysis/summary.h"

class QComboBox;

namespace viewer {

// Bars of the grades 5, 4, 3 and 2 per platoon or, chosen in its corner,
// the histogram of the scores per set of questions of a theme.
class GradeChart : public QChartView {
    Q_OBJECT

public:
    explicit GradeChart(QWidget* parent = nullptr);
    void Show(const Summary& summary);
    // The theme whose scores the histogram shows; nothing for none.
    void ShowScores(const ThemeAnalysis* theme);
    bool ShowsScores() const;
    bool SavePng(const QString& path);

signals:
    // The histogram was chosen: it wants the current theme.
    void ScoresWanted();

private:
    void Redraw();

    QComboBox* kind_;
    Summary summary_;
    std::optional<ThemeAnalysis> scores_;
};

}  // namespace viewer
