#include "viewer/core/analysis/results_table.h"

#include <cmath>
#include <cstdio>
#include <map>

#include "engine/grading.h"

namespace viewer {

namespace {

constexpr bool InEnumOrder() {
    for (int c = 0; c < kColumnCount; ++c) {
        if (static_cast<int>(kColumns[c].column) != c) return false;
    }
    return true;
}
static_assert(InEnumOrder(), "Describe() looks a column up by its place");

}  // namespace

std::optional<std::int64_t> CellNumber(const Row& row, Column column) {
    const Attempt& attempt = *row.attempt;
    switch (column) {
        case Column::Number: return row.number;
        case Column::Right:
            if (attempt.Finished()) return attempt.rightCount;
            return std::nullopt;
        case Column::Questions:
            if (attempt.Finished()) return attempt.questionCount;
            return std::nullopt;
        case Column::Percent: return PercentOf(attempt);
        default: return std::nullopt;
    }
}

std::string CellText(const Row& row, Column column) {
    const Attempt& attempt = *row.attempt;
    switch (column) {
        case Column::FullName: return attempt.fullName;
        case Column::Platoon: return attempt.platoon;
        case Column::Grade: {
            const auto percent = PercentOf(attempt);
            return percent ? engine::GradeFor(*percent) : "";
        }
        case Column::State:
            if (!row.liveState.empty()) return row.liveState;
            return attempt.Finished() ? "завершён" : "не завершён";
        case Column::Computer: return row.computer;
        case Column::File: return row.file;
        case Column::Account: return row.account;
        default: {
            const auto number = CellNumber(row, column);
            return number ? std::to_string(*number) : "";
        }
    }
}

const char* SummaryColumnTitle(SummaryColumn column) {
    switch (column) {
        case SummaryColumn::Platoon: return "Учебный взвод";
        case SummaryColumn::Students: return "Студентов";
        case SummaryColumn::StudentsFinished: return "Из них завершили";
        case SummaryColumn::Attempts: return "Попыток";
        case SummaryColumn::Finished: return "Попыток завершено";
        case SummaryColumn::Unfinished: return "Попыток не завершено";
        case SummaryColumn::MeanGrade: return "Средняя оценка";
        case SummaryColumn::Fives: return "«5»";
        case SummaryColumn::Fours: return "«4»";
        case SummaryColumn::Threes: return "«3»";
        case SummaryColumn::Twos: return "«2»";
        case SummaryColumn::MeanPercent: return "Средний %";
    }
    return "";
}

std::optional<double> SummaryCellNumber(const Tally& tally, SummaryColumn column) {
    switch (column) {
        case SummaryColumn::Platoon: return std::nullopt;
        case SummaryColumn::Students: return tally.students;
        case SummaryColumn::StudentsFinished: return tally.studentsFinished;
        case SummaryColumn::Attempts: return tally.Attempts();
        case SummaryColumn::Finished: return tally.finished;
        case SummaryColumn::Unfinished: return tally.unfinished;
        case SummaryColumn::MeanGrade: return tally.MeanGrade();
        case SummaryColumn::Fives: return tally.gradeCounts[5];
        case SummaryColumn::Fours: return tally.gradeCounts[4];
        case SummaryColumn::Threes: return tally.gradeCounts[3];
        case SummaryColumn::Twos: return tally.gradeCounts[2];
        case SummaryColumn::MeanPercent: return tally.MeanPercent();
    }
    return std::nullopt;
}

std::string SummaryCellText(const Tally& tally, SummaryColumn column) {
    if (column == SummaryColumn::Platoon) return tally.platoon.empty() ? kOverallLabel : tally.platoon;
    const auto value = SummaryCellNumber(tally, column);
    if (!value) return "—";
    if (column == SummaryColumn::MeanGrade) return FormatMean(*value, 2);
    if (column == SummaryColumn::MeanPercent) return FormatMean(*value, 1);
    return std::to_string(static_cast<std::int64_t>(*value));
}

std::string FormatMean(double value, int decimals) {
    // Halves round up, as taught: a mean of exact shares often ends in one
    // (76.25 → 76,3), where printf would round to even.
    const double scale = std::pow(10.0, decimals);
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, std::round(value * scale) / scale);
    std::string out = text;
    for (char& c : out) {
        if (c == '.') c = ',';
    }
    return out;
}

}  // namespace viewer

namespace viewer {

std::vector<std::string> FileLabels(const std::vector<std::filesystem::path>& paths) {
    // Counted once: a department's tree opens hundreds of "Results.txt".
    std::map<std::filesystem::path, int> named;
    for (const auto& path : paths) ++named[path.filename()];
    std::vector<std::string> labels;
    for (const auto& path : paths) {
        const auto name = path.filename();
        const bool shared = named[name] > 1;
        const auto folder = std::filesystem::absolute(path).parent_path().filename();
        labels.push_back(shared && !folder.empty() ? (folder / name).string() : name.string());
    }
    return labels;
}

}  // namespace viewer
