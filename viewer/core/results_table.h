#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "viewer/core/log_reader.h"
#include "viewer/core/summary.h"

namespace viewer {

// One row of the results table: an attempt, its number in its file, the
// file's name as shown and the computer it comes from.
struct Row {
    const Attempt* attempt = nullptr;
    std::int32_t number = 0;
    std::string file;
    std::string computer;
    // What the answers record tells of an unfinished attempt («идет тест…»);
    // empty leaves the state to the log.
    std::string liveState;
    // The Unix account the answers record names for it; empty where none.
    std::string account;
};

// The account comes last: scripts that read the exports by column keep theirs.
enum class Column { Number, FullName, Platoon, Right, Questions, Percent, Grade, State, Computer, File, Account };
inline constexpr int kColumnCount = 11;

// People first, then attempts: a retaken test is one student, two attempts.
enum class SummaryColumn {
    Platoon,
    Students,
    StudentsFinished,
    Attempts,
    Finished,
    Unfinished,
    MeanGrade,
    Fives,
    Fours,
    Threes,
    Twos,
    MeanPercent
};
inline constexpr int kSummaryColumnCount = 12;

// Titles and cell texts (UTF-8) shared by the window and every export.
const char* ColumnTitle(Column column);
bool IsNumberColumn(Column column);
std::string CellText(const Row& row, Column column);
// The value of a numeric cell (№, right answers, questions, %), for
// spreadsheets and sorting.
std::optional<std::int64_t> CellNumber(const Row& row, Column column);

const char* SummaryColumnTitle(SummaryColumn column);
std::string SummaryCellText(const Tally& tally, SummaryColumn column);
std::optional<double> SummaryCellNumber(const Tally& tally, SummaryColumn column);
// The overall line's label in the platoon column.
inline constexpr const char* kOverallLabel = "Всего";

// A mean with two decimals and a decimal comma, as a Russian reader writes it.
std::string FormatMean(double value, int decimals);

}  // namespace viewer

namespace viewer {

// How each file is named in the table: its name, or its folder and name
// where several files share a name (every classroom's "Results.txt").
std::vector<std::string> FileLabels(const std::vector<std::filesystem::path>& paths);

}  // namespace viewer
