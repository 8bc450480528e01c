#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace viewer {

// What lies below a folder, its subfolders' content included: the folders
// themselves and the files whose names `wanted` accepts, both sorted.
// Folders that cannot be read are passed over.
struct FolderContent {
    std::vector<std::filesystem::path> folders;  // the folder itself first
    std::vector<std::filesystem::path> files;
};

FolderContent WalkFolder(const std::filesystem::path& folder, const std::function<bool(const std::string&)>& wanted);

// The computer a log comes from: its folder relative to the opened folder
// ("pc01"), the opened folder's name for a log right in it, or, for a log
// opened alone (empty root), its folder's name.
std::string ComputerOf(const std::filesystem::path& log, const std::filesystem::path& root);

}  // namespace viewer
