#include "log/csv_line.h"

namespace resultslog {

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::optional<std::vector<std::string>> SplitCsvLine(std::string_view line) {
    std::vector<std::string> fields(1);
    std::size_t at = 0;
    bool fieldStart = true;
    while (at < line.size()) {
        const char c = line[at++];
        if (c == ',') {
            fields.emplace_back();
            fieldStart = true;
            continue;
        }
        if (c == '"') {
            if (!fieldStart) return std::nullopt;
            for (;;) {
                if (at >= line.size()) return std::nullopt;
                const char inner = line[at++];
                if (inner != '"') {
                    fields.back() += inner;
                } else if (at < line.size() && line[at] == '"') {
                    fields.back() += '"';
                    ++at;
                } else {
                    break;
                }
            }
            if (at < line.size() && line[at] != ',') return std::nullopt;
            fieldStart = false;
            continue;
        }
        fields.back() += c;
        fieldStart = false;
    }
    return fields;
}

}  // namespace resultslog
