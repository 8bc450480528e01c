#include "viewer/model/results_filter.h"

#include "viewer/model/results_model.h"

namespace viewer {

ResultsFilter::ResultsFilter(ResultsModel* model, QObject* parent) : QSortFilterProxyModel(parent), model_(model) {
    setSourceModel(model);
    setSortRole(ResultsModel::kSortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    setDynamicSortFilter(true);
}

void ResultsFilter::SetPlatoon(const QString& platoon) {
    platoonKey_ = PlatoonKey(platoon.toStdString());
    invalidateRowsFilter();
}

void ResultsFilter::SetSearch(const QString& text) {
    search_ = text.simplified();
    invalidateRowsFilter();
}

bool ResultsFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    const Attempt& attempt = model_->AttemptAt(sourceRow);
    if (!platoonKey_.empty() && PlatoonKey(attempt.platoon) != platoonKey_) return false;
    if (search_.isEmpty()) return true;
    return QString::fromUtf8(attempt.fullName).simplified().contains(search_, Qt::CaseInsensitive);
}

ExportData ResultsFilter::Shown(Counting counting) const {
    ExportData data;
    for (int row = 0; row < rowCount(); ++row) data.rows.push_back(model_->RowAt(mapToSource(index(row, 0)).row()));
    data.summary = ShownSummary(counting);
    return data;
}

Summary ResultsFilter::ShownSummary(Counting counting) const {
    // In the order written, whatever the sorting, so "last" means last.
    std::vector<const Attempt*> attempts;
    for (int row = 0; row < model_->rowCount(); ++row) {
        if (filterAcceptsRow(row, {})) attempts.push_back(&model_->AttemptAt(row));
    }
    return Summarize(attempts, counting);
}

}  // namespace viewer
