#include <cerrno>
#include <fstream>

#include "viewer/core/exports/export.h"
#include "viewer/core/exports/finished_file.h"
#include "viewer/core/files/error_text.h"

namespace viewer {

namespace {

// A cell beginning with one of these is read as a formula by spreadsheet
// programs; a typed name must never run as one.
bool LooksLikeFormula(const std::string& text) {
    return !text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@');
}

void AppendCell(std::string& out, std::string text, bool isText) {
    if (isText && LooksLikeFormula(text)) text.insert(text.begin(), '\'');
    if (text.find_first_of(";\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

std::string CsvText(const Grid& grid) {
    std::string out = "\xEF\xBB\xBF";
    for (std::size_t c = 0; c < grid.titles.size(); ++c) {
        if (c > 0) out += ';';
        AppendCell(out, grid.titles[c], false);
    }
    out += "\r\n";
    for (const auto& row : grid.rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) out += ';';
            AppendCell(out, row[c].text, !row[c].number);
        }
        out += "\r\n";
    }
    return out;
}

std::string CsvText(const ExportData& data) { return CsvText(TableGrid(data)); }

std::optional<std::string> WriteCsv(const std::filesystem::path& path, const Grid& grid) {
    const std::string text = CsvText(grid);
    FinishedFile file(path);
    std::ofstream out(file.Partial(), std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) return file.Failure(SystemErrorText(errno));
    return file.Finish();
}

std::optional<std::string> WriteCsv(const std::filesystem::path& path, const ExportData& data) {
    return WriteCsv(path, TableGrid(data));
}

}  // namespace viewer
