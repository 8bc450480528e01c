#include "viewer/core/analysis/record_ties.h"
#include "viewer/core/exports/export.h"
#include "viewer/core/files/log_file.h"

namespace viewer {

ExportData CollectAll(const std::vector<const LogFile*>& files, const std::vector<std::string>& computers,
                      Counting counting, const std::vector<LogTies>& ties) {
    std::vector<std::filesystem::path> paths;
    for (const LogFile* file : files) paths.push_back(file->Path());
    const std::vector<std::string> labels = FileLabels(paths);

    ExportData data;
    std::vector<const Attempt*> attempts;
    for (std::size_t f = 0; f < files.size(); ++f) {
        const auto& fileAttempts = files[f]->Reader().Attempts();
        for (std::size_t i = 0; i < fileAttempts.size(); ++i) {
            data.rows.push_back({&fileAttempts[i], static_cast<std::int32_t>(i + 1), labels[f], computers[f], {}, {}});
            if (f < ties.size() && i < ties[f].attempts.size()) data.rows.back().account = ties[f].attempts[i].account;
            attempts.push_back(&fileAttempts[i]);
        }
    }
    data.summary = Summarize(attempts, counting);
    return data;
}

}  // namespace viewer
