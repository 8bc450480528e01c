#include "settings/results_folder.h"

#include <sys/stat.h>

#include <cerrno>

#include "facts/results_files.h"

namespace settings {

namespace {

bool IsFolder(const std::filesystem::path& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The same rule as for the log file: a group that may write to the parent
// may write to what is made in it.
void ShareLikeParent(const std::filesystem::path& folder, const std::filesystem::path& parent) {
    struct stat parentStatus {};
    struct stat status {};
    if (stat(parent.c_str(), &parentStatus) != 0 || stat(folder.c_str(), &status) != 0) return;
    mode_t mode = (status.st_mode & 07777) | S_ISGID;
    if ((parentStatus.st_mode & S_IWGRP) != 0) mode |= S_IWGRP;
    chmod(folder.c_str(), mode);
}

}  // namespace

bool MakeSharedFolder(const std::filesystem::path& folder) {
    std::filesystem::path made;
    for (const std::filesystem::path& part : folder.lexically_normal()) {
        if (part.empty()) continue;
        const std::filesystem::path parent = made.empty() ? std::filesystem::path(".") : made;
        made /= part;
        if (mkdir(made.c_str(), 0775) == 0) {
            ShareLikeParent(made, parent);
        } else if (errno != EEXIST) {
            return false;
        }
    }
    return IsFolder(folder);
}

std::filesystem::path LogPathIn(const std::filesystem::path& folder) { return folder / facts::kResultsLogName; }

std::filesystem::path ConfiguredFolder(const Settings& settings, const MachineNames& names) {
    if (settings.resultsFolder.empty()) return {};
    return ExpandPlaceholders(settings.resultsFolder, names);
}

std::filesystem::path ResultsLogPath(const Settings& settings, const MachineNames& names) {
    const std::filesystem::path folder = ConfiguredFolder(settings, names);
    if (!folder.empty()) MakeSharedFolder(folder);
    return LogPathIn(folder);
}

}  // namespace settings
