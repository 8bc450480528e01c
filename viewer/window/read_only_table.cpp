#include "viewer/window/read_only_table.h"

#include <QHeaderView>
#include <QTableWidget>

namespace viewer {

QTableWidget* MakeReadOnlyTable(const QStringList& titles, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(titles.size()), parent);
    table->setHorizontalHeaderLabels(titles);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    const int line = table->fontMetrics().height();
    table->verticalHeader()->setDefaultSectionSize(line + 8);
    QHeaderView* header = table->horizontalHeader();
    // The header draws its text with these flags, word wrap among them.
    header->setDefaultAlignment(Qt::Alignment(static_cast<int>(Qt::AlignCenter) | static_cast<int>(Qt::TextWordWrap)));
    header->setMinimumHeight(2 * line + 8);
    return table;
}

}  // namespace viewer
