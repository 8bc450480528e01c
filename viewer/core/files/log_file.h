#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "viewer/core/files/followed_file.h"
#include "viewer/core/files/log_reader.h"

namespace viewer {

// A results log on disk, read as it grows (see FollowedFile).
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

    const std::filesystem::path& Path() const { return file_.Path(); }
    const LogReader& Reader() const { return reader_; }
    // Why the file cannot be read right now (Russian, UTF-8); empty while
    // it can. What was read before stays.
    const std::string& Problem() const { return file_.Problem(); }

private:
    FollowedFile file_;
    LogReader reader_;
};

}  // namespace viewer
