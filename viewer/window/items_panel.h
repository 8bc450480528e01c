#pragma once

#include <QTimer>
#include <QWidget>

#include "viewer/core/grid.h"
#include "viewer/core/item_analysis.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace viewer {

class ResultsModel;

// The «Вопросы» tab: how each question of a theme worked, from the answers
// records beside the open logs. Follows the records as they grow: a burst
// of appends costs one analysis, made only while the tab is seen.
class ItemsPanel : public QWidget {
    Q_OBJECT

public:
    explicit ItemsPanel(const ResultsModel& model, QWidget* parent = nullptr);

    // The item table of the chosen bank and theme, as shown and exported.
    const Grid& ShownGrid() const { return shown_; }
    QString Title() const;
    QTableWidget& Table() { return *table_; }

signals:
    // The instructor asked to save the shown table: "csv", "xlsx" or "pdf".
    void ExportAsked(const QString& extension);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Analyze();
    void UpdateChoices();
    void ShowGrid();
    Scoring CurrentScoring() const;

    const ResultsModel& model_;
    ItemAnalysis analysis_;
    Grid shown_;
    bool stale_ = true;
    QTimer delay_;
    QComboBox* bankChoice_;
    QLabel* bankLabel_;
    QComboBox* themeChoice_;
    QComboBox* scoringChoice_;
    QLabel* title_;
    QTableWidget* table_;
};

}  // namespace viewer
