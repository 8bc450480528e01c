#pragma once

#include <QChartView>

#include "viewer/core/summary.h"

namespace viewer {

// Bars of the grades 5, 4, 3 and 2 per platoon.
class GradeChart : public QChartView {
    Q_OBJECT

public:
    explicit GradeChart(QWidget* parent = nullptr);
    void Show(const Summary& summary);
    bool SavePng(const QString& path);
};

}  // namespace viewer
