#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace viewer {

// An entry as the viewer first saw it.
struct SeenEntry {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::int64_t line = 0;
    std::uint64_t hash = 0;
    std::int64_t firstSeen = 0;  // seconds since the epoch
    std::string summary;
};

// What the viewer last saw of a file that had not been changed behind it.
struct SeenFile {
    std::string path;  // absolute
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::uint64_t prefixHash = 0;  // of the first `size` bytes
    // When the instructor said the file went to an archive (seconds since
    // the epoch), 0 if never: its disappearance or a fresh file in its
    // place is then no change. The entries are forgotten then.
    std::int64_t archived = 0;
    std::vector<SeenEntry> entries;
};

// Older entries are forgotten past this many; the prefix hash still
// covers them.
inline constexpr std::size_t kMostRememberedEntries = 100'000;

// The memory of one file inside the viewer's own folder, named by a hash
// of the file's absolute path.
std::filesystem::path SeenFilePath(const std::filesystem::path& folder, const std::string& absolutePath);

// None when there is no memory, or it is unreadable or of another file.
std::optional<SeenFile> LoadSeen(const std::filesystem::path& memory, const std::string& absolutePath);
// Written whole to a temporary file, synced, renamed over and the folder
// synced, so a crash or a power cut leaves the old memory or the new one.
// False when it could not be written.
// The memory quotes names and results: its folder is made 0700 and its
// files 0600.
bool SaveSeen(const std::filesystem::path& memory, const SeenFile& seen);

// Makes the memory folder (and the folders above it that are missing)
// readable by this account only, and tightens the folder and its files
// wherever they are open to others (a umask, a copy or a restore can leave
// them so, and they quote names and results): once a run, it looks at
// every file. Returns why that failed (Russian), or an empty
// string.
std::string KeepMemoryPrivate(const std::filesystem::path& folder);

// The absolute paths of every file the memory in `folder` holds.
std::vector<std::string> RememberedPaths(const std::filesystem::path& folder);

}  // namespace viewer
