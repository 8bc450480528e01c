#pragma once

#include <QStringList>

class QTableWidget;
class QWidget;

namespace viewer {

// A table the instructor reads but does not edit: whole rows selected, no
// row numbers, one line per row, and column titles on up to two lines so
// that «Попыток не завершено» stays readable in a narrow column.
QTableWidget* MakeReadOnlyTable(const QStringList& titles, QWidget* parent);

}  // namespace viewer
