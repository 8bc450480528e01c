#include "viewer/core/csv_line.h"

namespace viewer {

bool SplitCsvLine(std::string_view line, std::vector<std::string_view>& fields, std::string& scratch) {
    fields.clear();
    if (line.find('"') == std::string_view::npos) {
        // What nearly every line is: no quoting at all.
        std::size_t start = 0;
        for (std::size_t comma; (comma = line.find(',', start)) != std::string_view::npos; start = comma + 1) {
            fields.push_back(line.substr(start, comma - start));
        }
        fields.push_back(line.substr(start));
        return true;
    }
    // Unquoted text is never longer than the line, so the views into the
    // scratch string stay valid while it fills.
    scratch.clear();
    scratch.reserve(line.size());
    std::size_t i = 0;
    for (;;) {
        if (i < line.size() && line[i] == '"') {
            const std::size_t begin = scratch.size();
            for (++i;; ++i) {
                if (i == line.size()) return false;
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        scratch += '"';
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                } else {
                    scratch += line[i];
                }
            }
            fields.push_back(std::string_view(scratch).substr(begin));
            if (i < line.size() && line[i] != ',') return false;
        } else {
            const std::size_t comma = line.find(',', i);
            const std::string_view field = line.substr(i, comma == std::string_view::npos ? line.npos : comma - i);
            if (field.find('"') != std::string_view::npos) return false;
            fields.push_back(field);
            i = comma == std::string_view::npos ? line.size() : comma;
        }
        if (i == line.size()) return true;
        ++i;  // the comma
    }
}

}  // namespace viewer
