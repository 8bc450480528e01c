#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <string>

#include "viewer/core/log_reader.h"

namespace viewer {

// A results log on disk, read as it grows. The file is only ever opened
// read-only and never locked, so a writing test program is never held up;
// each refresh reads just the bytes appended since the last one.
class LogFile {
public:
    explicit LogFile(std::filesystem::path path);

    struct Change {
        bool any = false;
        std::size_t firstChanged = 0;  // first attempt added, changed or removed
    };
    // Reads what was appended. A file that shrank or was replaced by
    // another one under the same name is read again from the start.
    Change Refresh();

    const std::filesystem::path& Path() const { return path_; }
    const LogReader& Reader() const { return reader_; }
    // Why the file cannot be read right now (Russian, UTF-8); empty while
    // it can. What was read before stays.
    const std::string& Problem() const { return problem_; }

private:
    std::filesystem::path path_;
    LogReader reader_;
    std::string problem_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    bool known_ = false;
};

}  // namespace viewer
