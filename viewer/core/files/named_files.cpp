#include "viewer/core/files/named_files.h"

#include <sys/stat.h>

#include <set>
#include <system_error>

#include "viewer/core/files/folder_walk.h"

namespace viewer {

std::filesystem::path AnswersPathFor(const std::filesystem::path& path) {
    return IsAnswersRecord(path) ? path : facts::AnswersRecordPath(path);
}

std::filesystem::path LogPathFor(const std::filesystem::path& record) {
    return IsAnswersRecord(record) ? facts::LogPathFor(record) : record;
}

std::string FileKey(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
    }
    std::error_code error;
    return std::filesystem::absolute(path, error).lexically_normal().string();
}

std::string PairKey(const std::filesystem::path& logOrRecord) {
    const std::filesystem::path record = AnswersPathFor(logOrRecord);
    std::error_code error;
    // The record stands for the pair when there is one: a log is often
    // copied without it, never the other way round.
    if (std::filesystem::exists(record, error)) return FileKey(record);
    return FileKey(LogPathFor(logOrRecord));
}

Naming FilesNamed(const std::vector<std::filesystem::path>& names, Folders folders) {
    Naming naming;
    std::set<std::string> taken;
    const auto add = [&](const std::filesystem::path& file, const std::string& computer, bool logFound,
                         bool fromFolder) {
        if (!taken.insert(PairKey(file)).second) return;
        const bool record = IsAnswersRecord(file);
        naming.files.push_back(
            {LogPathFor(file), AnswersPathFor(file), computer, logFound, fromFolder, record && !fromFolder});
    };
    for (const std::filesystem::path& name : names) {
        std::error_code error;
        if (!std::filesystem::is_directory(name, error)) {
            add(name, ComputerOf(name, {}), true, false);
            continue;
        }
        naming.folders.push_back(name);
        if (folders == Folders::Listed) continue;
        const FolderContent content = WalkFolder(name, [](const std::string& file) {
            return file == kResultsLogName || file.ends_with(kAnswersRecordSuffix);
        });
        if (content.files.empty()) naming.emptyFolders.push_back(name);
        std::set<std::filesystem::path> logs;
        for (const std::filesystem::path& file : content.files) {
            if (!IsAnswersRecord(file)) logs.insert(file);
        }
        // Logs with their records first, then records whose log is elsewhere or gone.
        for (const std::filesystem::path& log : logs) add(log, ComputerOf(log, name), true, true);
        for (const std::filesystem::path& file : content.files) {
            if (IsAnswersRecord(file) && !logs.contains(LogPathFor(file))) {
                add(file, ComputerOf(file, name), false, true);
            }
        }
    }
    return naming;
}

}  // namespace viewer
