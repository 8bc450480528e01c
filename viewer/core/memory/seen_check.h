#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "viewer/core/memory/change_check.h"

namespace viewer {

struct CheckOutcome {
    std::vector<Finding> findings;
    std::string problem;    // why the file or the memory could not be used (Russian); empty if it could
    bool archived = false;  // gone to an archive, as the instructor said: nothing to compare
};

// Reads a whole file, compares it with the viewer's memory of it in
// `memoryFolder` and remembers what was appended. A file gone that had been
// seen is a change too.
CheckOutcome CheckAgainstMemory(const std::filesystem::path& absolutePath, const std::filesystem::path& memoryFolder,
                                std::int64_t now);

// Records that the file went to an archive: from now on its disappearance,
// or a fresh file under its name, is no change. Returns why that could not
// be recorded (Russian; the viewer never read the file), or an empty string.
std::string MarkArchived(const std::filesystem::path& absolutePath, const std::filesystem::path& memoryFolder,
                         std::int64_t now);

// The same for an open file, read again only when its size, time or inode
// changed: the window calls it on every refresh.
class SeenCheck {
public:
    SeenCheck(std::filesystem::path absolutePath, std::filesystem::path memoryFolder);
    // True when the findings may have changed.
    bool Update(std::int64_t now);
    const std::vector<Finding>& Findings() const { return findings_; }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
    std::filesystem::path folder_;
    std::vector<Finding> findings_;
    struct Stamp {
        bool exists = false;
        off_t size = 0;
        std::int64_t modified = 0;
        ino_t inode = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp last_;
    bool checked_ = false;
};

}  // namespace viewer
