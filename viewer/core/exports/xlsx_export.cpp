#include <fcntl.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <functional>

#include "viewer/core/exports/export.h"
#include "viewer/core/exports/finished_file.h"
#include "viewer/core/exports/silenced_stderr.h"
#include "viewer/core/files/error_text.h"

namespace viewer {

namespace {

// An lxw_error of libxlsxwriter in Russian; errorNumber is errno as the
// library left it, for the errors that come from the system.
std::string XlsxErrorText(int error, int errorNumber) {
    switch (error) {
        case LXW_ERROR_MEMORY_MALLOC_FAILED: return "не хватает памяти";
        case LXW_ERROR_CREATING_XLSX_FILE:
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE:
        case LXW_ERROR_ZIP_FILE_OPERATION:
        case LXW_ERROR_ZIP_FILE_ADD:
        case LXW_ERROR_ZIP_CLOSE:
            return errorNumber != 0 ? SystemErrorText(errorNumber) : "ошибка при записи архива книги";
        case LXW_ERROR_ZIP_BAD_ZIP_FILE: return "книга слишком велика для формата XLSX";
        case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED: return "текст ячейки длиннее 32 767 знаков";
        case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE: return "строк больше, чем вмещает лист";
        default: return "внутренняя ошибка библиотеки XLSX (код " + std::to_string(error) + ")";
    }
}

struct Formats {
    lxw_format* header = nullptr;
    lxw_format* unfinished = nullptr;
    lxw_format* total = nullptr;
    lxw_format* mean = nullptr;
    lxw_format* totalMean = nullptr;
};

void WriteTable(lxw_workbook* book, const ExportData& data, lxw_format* header, lxw_format* unfinished) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Результаты");
    for (int c = 0; c < kColumnCount; ++c) {
        const auto column = static_cast<lxw_col_t>(c);
        worksheet_set_column(sheet, column, column, kColumns[c].sheetWidth, nullptr);
        worksheet_write_string(sheet, 0, column, ColumnTitle(static_cast<Column>(c)), header);
    }
    lxw_row_t line = 1;
    for (const Row& row : data.rows) {
        lxw_format* format = row.attempt->Finished() ? nullptr : unfinished;
        for (int c = 0; c < kColumnCount; ++c) {
            const auto column = static_cast<Column>(c);
            if (const auto number = CellNumber(row, column)) {
                worksheet_write_number(sheet, line, static_cast<lxw_col_t>(c), static_cast<double>(*number), format);
            } else {
                worksheet_write_string(sheet, line, static_cast<lxw_col_t>(c), CellText(row, column).c_str(), format);
            }
        }
        ++line;
    }
    worksheet_freeze_panes(sheet, 1, 0);
    worksheet_autofilter(sheet, 0, 0, line - 1, kColumnCount - 1);
}

void WriteSummary(lxw_workbook* book, const Summary& summary, lxw_format* header, lxw_format* total, lxw_format* mean,
                  lxw_format* totalMean) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Сводка");
    for (int c = 0; c < kSummaryColumnCount; ++c) {
        const auto column = static_cast<lxw_col_t>(c);
        worksheet_set_column(sheet, column, column, c == 0 ? 18 : 14, nullptr);
        worksheet_write_string(sheet, 0, column, SummaryColumnTitle(static_cast<SummaryColumn>(c)), header);
    }
    lxw_row_t line = 1;
    auto writeTally = [&](const Tally& tally, bool isTotal) {
        for (int c = 0; c < kSummaryColumnCount; ++c) {
            const auto column = static_cast<SummaryColumn>(c);
            const bool isMean = column == SummaryColumn::MeanGrade || column == SummaryColumn::MeanPercent;
            lxw_format* format = isTotal ? (isMean ? totalMean : total) : (isMean ? mean : nullptr);
            if (const auto number = SummaryCellNumber(tally, column)) {
                worksheet_write_number(sheet, line, static_cast<lxw_col_t>(c), *number, format);
            } else {
                worksheet_write_string(sheet, line, static_cast<lxw_col_t>(c), SummaryCellText(tally, column).c_str(),
                                       format);
            }
        }
        ++line;
    };
    for (const Tally& tally : summary.platoons) writeTally(tally, false);
    writeTally(summary.overall, true);
}

// Creates the workbook, lets fill add its sheets, and closes it; the file
// is replaced only once written whole.
std::optional<std::string> WriteWorkbook(const std::filesystem::path& path,
                                         const std::function<void(lxw_workbook*, const Formats&)>& fill) {
    FinishedFile file(path);
    // The library names a file it cannot create only in English, on
    // standard error: try it here first, for the system's reason.
    const int probe = ::open(file.Partial().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (probe < 0) return file.Failure(SystemErrorText(errno));
    ::close(probe);
    lxw_workbook* book = workbook_new(file.Partial().c_str());
    if (book == nullptr) return file.Failure(SystemErrorText(ENOMEM));

    Formats formats;
    formats.header = workbook_add_format(book);
    format_set_bold(formats.header);
    format_set_bg_color(formats.header, 0xDDE4EE);
    format_set_bottom(formats.header, LXW_BORDER_THIN);
    format_set_text_wrap(formats.header);
    formats.unfinished = workbook_add_format(book);
    format_set_bg_color(formats.unfinished, 0xFFF1D6);
    formats.total = workbook_add_format(book);
    format_set_bold(formats.total);
    format_set_top(formats.total, LXW_BORDER_THIN);
    formats.mean = workbook_add_format(book);
    format_set_num_format(formats.mean, "0.00");
    formats.totalMean = workbook_add_format(book);
    format_set_bold(formats.totalMean);
    format_set_top(formats.totalMean, LXW_BORDER_THIN);
    format_set_num_format(formats.totalMean, "0.00");
    fill(book, formats);

    errno = 0;
    lxw_error error = LXW_NO_ERROR;
    {
        const SilencedStandardError silenced;
        error = workbook_close(book);
    }
    if (error != LXW_NO_ERROR) return file.Failure(XlsxErrorText(error, errno));
    return file.Finish();
}

}  // namespace

std::optional<std::string> WriteXlsx(const std::filesystem::path& path, const ExportData& data) {
    return WriteWorkbook(path, [&](lxw_workbook* book, const Formats& formats) {
        WriteTable(book, data, formats.header, formats.unfinished);
        WriteSummary(book, data.summary, formats.header, formats.total, formats.mean, formats.totalMean);
    });
}

std::optional<std::string> WriteXlsx(const std::filesystem::path& path, const Grid& grid, const std::string& name) {
    return WriteWorkbook(path, [&](lxw_workbook* book, const Formats& formats) {
        lxw_worksheet* sheet = workbook_add_worksheet(book, name.c_str());
        for (std::size_t c = 0; c < grid.titles.size(); ++c) {
            const auto column = static_cast<lxw_col_t>(c);
            const double width = c < grid.widths.size() ? grid.widths[c] : 12;
            worksheet_set_column(sheet, column, column, width, nullptr);
            worksheet_write_string(sheet, 0, column, grid.titles[c].c_str(), formats.header);
        }
        lxw_row_t line = 1;
        for (std::size_t r = 0; r < grid.rows.size(); ++r, ++line) {
            const bool heading = r < grid.headings.size() && grid.headings[r];
            lxw_format* format = heading ? formats.total : nullptr;
            for (std::size_t c = 0; c < grid.rows[r].size(); ++c) {
                const GridCell& cell = grid.rows[r][c];
                const auto column = static_cast<lxw_col_t>(c);
                if (cell.number) {
                    worksheet_write_number(sheet, line, column, *cell.number, format);
                } else {
                    worksheet_write_string(sheet, line, column, cell.text.c_str(), format);
                }
            }
        }
        worksheet_freeze_panes(sheet, 1, 0);
    });
}

}  // namespace viewer
