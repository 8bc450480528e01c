#pragma once

#include <QTimer>
#include <QWidget>

#include "viewer/core/analysis/grid.h"
#include "viewer/core/analysis/item_analysis.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QTableWidget;

namespace viewer {

class ResultsModel;

// The «Вопросы» tab: how each question of a theme worked, from the answers
// records beside the open logs, of the platoon and computer the window's
// filter shows and of a term. Follows the records as they grow: a burst of
// appends costs one analysis, made only while the tab is seen.
class ItemsPanel : public QWidget {
    Q_OBJECT

public:
    explicit ItemsPanel(const ResultsModel& model, QWidget* parent = nullptr);

    // The window's platoon and computer filter (empty for all).
    void SetFilter(const QString& platoon, const QString& computer);
    // The term: both ends included; a null date leaves that end open.
    void SetTerm(const QDate& from, const QDate& to);

    // The item table of the chosen bank and theme, as shown and exported.
    const Grid& ShownGrid() const { return shown_; }
    // The chosen theme's analysis, for the score histograms.
    const ThemeAnalysis* ShownTheme() const;
    QString Title() const;
    // What is analysed: how many finished tests of how many, and why.
    QString Counts() const;
    QTableWidget& Table() { return *table_; }
    // Analyses now if the records changed since the last analysis.
    void EnsureAnalyzed() {
        if (stale_) Analyze();
    }

signals:
    // The instructor asked to save the shown table: "csv", "xlsx" or "pdf".
    void ExportAsked(const QString& extension);
    // A new analysis is shown.
    void Analyzed();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Analyze();
    void UpdateChoices();
    void ShowGrid();
    void FillTable();
    Scoring CurrentScoring() const;
    ItemSelection CurrentSelection() const;

    const ResultsModel& model_;
    ItemAnalysis analysis_;
    Grid shown_;
    bool stale_ = true;
    QTimer delay_;
    QString platoon_;
    QString computer_;
    QComboBox* bankChoice_;
    QLabel* bankLabel_;
    QComboBox* themeChoice_;
    QComboBox* scoringChoice_;
    QComboBox* viewChoice_;
    QCheckBox* termChoice_;
    QDateEdit* from_;
    QDateEdit* to_;
    QLabel* title_;
    QTableWidget* table_;
};

}  // namespace viewer
