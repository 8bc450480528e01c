#include "viewer/core/exports/export.h"

namespace viewer {

Grid TableGrid(const ExportData& data) {
    Grid grid;
    for (int c = 0; c < kColumnCount; ++c) grid.titles.emplace_back(ColumnTitle(static_cast<Column>(c)));
    for (const Row& row : data.rows) {
        std::vector<GridCell> cells;
        for (int c = 0; c < kColumnCount; ++c) {
            const auto column = static_cast<Column>(c);
            const auto number = CellNumber(row, column);
            cells.push_back(
                {CellText(row, column), number ? std::optional<double>(static_cast<double>(*number)) : std::nullopt});
        }
        grid.rows.push_back(std::move(cells));
    }
    return grid;
}

}  // namespace viewer
