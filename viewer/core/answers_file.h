#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>

#include "viewer/core/answers_reader.h"

namespace viewer {

// The answers record beside a results log, read as it grows: opened
// read-only, never locked, only the appended bytes read. A record that is
// missing or cannot be read right now is no problem: older program
// versions keep none, and the next refresh tries again.
class AnswersFile {
public:
    explicit AnswersFile(std::filesystem::path path) : path_(std::move(path)) {}

    struct Change {
        bool any = false;
        bool restarted = false;  // read again from the start: shrunk or replaced
    };
    Change Refresh();

    const std::filesystem::path& Path() const { return path_; }
    const AnswersReader& Reader() const { return reader_; }

private:
    std::filesystem::path path_;
    AnswersReader reader_;
    std::uint64_t bytesRead_ = 0;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    bool known_ = false;
};

}  // namespace viewer
