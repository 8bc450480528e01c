#include <cerrno>
#include <fstream>

#include "viewer/core/error_text.h"
#include "viewer/core/export.h"
#include "viewer/core/finished_file.h"

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

std::string CsvText(const ExportData& data) {
    std::string out = "\xEF\xBB\xBF";
    for (int c = 0; c < kColumnCount; ++c) {
        if (c > 0) out += ';';
        AppendCell(out, ColumnTitle(static_cast<Column>(c)), false);
    }
    out += "\r\n";
    for (const Row& row : data.rows) {
        for (int c = 0; c < kColumnCount; ++c) {
            const auto column = static_cast<Column>(c);
            if (c > 0) out += ';';
            AppendCell(out, CellText(row, column), !CellNumber(row, column));
        }
        out += "\r\n";
    }
    return out;
}

std::optional<std::string> WriteCsv(const std::filesystem::path& path, const ExportData& data) {
    const std::string text = CsvText(data);
    FinishedFile file(path);
    std::ofstream out(file.Partial(), std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) return file.Failure(SystemErrorText(errno));
    return file.Finish();
}

}  // namespace viewer
