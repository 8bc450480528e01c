#include "viewer/core/files/folder_walk.h"

#include <algorithm>
#include <system_error>

namespace viewer {

FolderContent WalkFolder(const std::filesystem::path& folder, const std::function<bool(const std::string&)>& wanted) {
    std::error_code error;
    FolderContent content;
    const std::filesystem::path root = std::filesystem::absolute(folder, error);
    if (!std::filesystem::is_directory(root, error)) return content;
    content.folders.push_back(root);
    const auto options = std::filesystem::directory_options::skip_permission_denied;
    for (auto it = std::filesystem::recursive_directory_iterator(root, options, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        // A link to a folder is not followed: a loop would never end.
        if (it->is_directory(error) && !it->is_symlink(error)) {
            content.folders.push_back(it->path());
        } else if (wanted(it->path().filename().string()) && it->is_regular_file(error)) {
            content.files.push_back(it->path());
        }
    }
    std::sort(content.folders.begin() + 1, content.folders.end());
    std::sort(content.files.begin(), content.files.end());
    return content;
}

std::string ComputerOf(const std::filesystem::path& log, const std::filesystem::path& root) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(log, error).parent_path();
    if (!root.empty()) {
        const std::filesystem::path base = std::filesystem::absolute(root, error).lexically_normal();
        const std::filesystem::path relative = folder.lexically_normal().lexically_relative(base);
        if (!relative.empty() && relative != "." && *relative.begin() != "..") return relative.string();
    }
    return folder.lexically_normal().filename().string();
}

}  // namespace viewer
