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
    Refilter();
}

void ResultsFilter::SetComputer(const QString& computer) {
    computer_ = computer;
    Refilter();
}

void ResultsFilter::SetSearch(const QString& text) {
    search_ = text.simplified().toCaseFolded();
    Refilter();
}

void ResultsFilter::Refilter() {
    // A new filter shows a scattered set of rows. Told row range by row
    // range, a view takes seconds over 100,000 rows; told once that the
    // layout changed, it takes milliseconds.
    invalidate();
}

bool ResultsFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    const Attempt& attempt = model_->AttemptAt(sourceRow);
    if (!platoonKey_.empty() && PlatoonKey(attempt.platoon) != platoonKey_) return false;
    if (!computer_.isEmpty() && model_->ComputerAt(sourceRow) != computer_) return false;
    if (search_.isEmpty()) return true;
    return model_->FoldedName(sourceRow).contains(search_);
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
