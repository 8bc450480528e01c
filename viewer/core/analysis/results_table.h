#pragma once

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "viewer/core/analysis/summary.h"
#include "viewer/core/files/log_reader.h"

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

// A column wherever it shows: its title (UTF-8); whether it holds a number
// (aligned right, a number in spreadsheets, sorted as one); its width in
// the window (pixels) and in a spreadsheet (characters); its share of a
// printed page's width.
struct ColumnDescription {
    Column column;
    const char* title;
    bool number;
    int windowWidth;
    double sheetWidth;
    double pageShare;
};

// In the order of the enum, which is the order shown and exported.
inline constexpr ColumnDescription kColumns[] = {
    {Column::Number, "№", true, 52, 7, 0.05},
    {Column::FullName, "ФИО", false, 260, 36, 0.20},
    {Column::Platoon, "Учебный взвод", false, 110, 16, 0.09},
    {Column::Right, "Правильных", true, 96, 12, 0.08},
    {Column::Questions, "Вопросов", true, 84, 11, 0.07},
    {Column::Percent, "%", true, 50, 7, 0.04},
    {Column::Grade, "Оценка", false, 178, 24, 0.13},
    {Column::State, "Состояние", false, 190, 14, 0.09},
    {Column::Computer, "Компьютер", false, 100, 14, 0.08},
    {Column::File, "Файл", false, 120, 18, 0.09},
    {Column::Account, "Учетная запись", false, 120, 16, 0.08},
};
inline constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

constexpr const ColumnDescription& Describe(Column column) { return kColumns[static_cast<int>(column)]; }

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
inline const char* ColumnTitle(Column column) { return Describe(column).title; }
inline bool IsNumberColumn(Column column) { return Describe(column).number; }
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
