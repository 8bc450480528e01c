#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "viewer/core/analysis/grid.h"
#include "viewer/core/analysis/record_ties.h"
#include "viewer/core/analysis/results_table.h"
#include "viewer/core/analysis/summary.h"

namespace viewer {

// What an export writes: the table's rows in the order shown and the
// summary of the same rows.
struct ExportData {
    std::vector<Row> rows;
    Summary summary;
};

// Each returns an error message (Russian, UTF-8), or nothing on success.
// The file is replaced only once it has been written whole.

// UTF-8 with a byte-order mark, ';' between cells, CR LF, quoted where a
// cell needs it: what Russian spreadsheet programs open as columns.
std::optional<std::string> WriteCsv(const std::filesystem::path& path, const ExportData& data);
std::string CsvText(const ExportData& data);
std::optional<std::string> WriteCsv(const std::filesystem::path& path, const Grid& grid);
std::string CsvText(const Grid& grid);

// The table on the first sheet, the summary on the second.
std::optional<std::string> WriteXlsx(const std::filesystem::path& path, const ExportData& data);
// One sheet of the given name; heading rows bold and shaded.
std::optional<std::string> WriteXlsx(const std::filesystem::path& path, const Grid& grid, const std::string& sheet);

// The results table's cells, as the exports write them.
Grid TableGrid(const ExportData& data);

// The summary as plain text for a terminal.
std::string SummaryText(const Summary& summary);

}  // namespace viewer

namespace viewer {

class LogFile;

// Every attempt of the files, in file order, and their summary; the
// computers are the files' own, one each, and so are the ties to their
// answers records (none: no accounts).
ExportData CollectAll(const std::vector<const LogFile*>& files, const std::vector<std::string>& computers,
                      Counting counting, const std::vector<LogTies>& ties = {});

}  // namespace viewer
