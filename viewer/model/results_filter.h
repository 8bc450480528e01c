#pragma once

#include <QSortFilterProxyModel>

#include <string>
#include <vector>

#include "viewer/core/analysis/summary.h"
#include "viewer/core/exports/export.h"

namespace viewer {

class ResultsModel;

// The rows the instructor asked for: one platoon or all, one computer or
// all, names containing
// the search text, in the order of the column clicked.
class ResultsFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit ResultsFilter(ResultsModel* model, QObject* parent = nullptr);

    // An empty platoon shows every platoon; platoons compare without spaces.
    void SetPlatoon(const QString& platoon);
    void SetSearch(const QString& text);
    // An empty computer shows every computer.
    void SetComputer(const QString& computer);

    // The shown rows in the order shown, and the summary of the same rows.
    ExportData Shown(Counting counting) const;
    Summary ShownSummary(Counting counting) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    void Refilter();

    ResultsModel* model_;
    std::string platoonKey_;
    QString computer_;
    QString search_;
};

}  // namespace viewer
