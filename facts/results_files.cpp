#include "facts/results_files.h"

#include <string>

namespace facts {

std::filesystem::path AnswersRecordPath(std::filesystem::path log) {
    return log.replace_extension(kAnswersRecordSuffix);
}

std::filesystem::path LogPathFor(const std::filesystem::path& record) {
    std::string name = record.filename().string();
    if (name.ends_with(kAnswersRecordSuffix)) name.resize(name.size() - kAnswersRecordSuffix.size());
    return record.parent_path() / (name + ".txt");
}

bool IsAnswersRecord(const std::filesystem::path& path) {
    return path.filename().string().ends_with(kAnswersRecordSuffix);
}

}  // namespace facts
