#pragma once

#include <filesystem>

#include "viewer/core/files/answers_reader.h"
#include "viewer/core/files/followed_file.h"

namespace viewer {

// The answers record beside a results log, read as it grows (see
// FollowedFile). A record that is missing or cannot be read right now is no
// problem: older program versions keep none, and the next refresh tries
// again.
class AnswersFile {
public:
    explicit AnswersFile(std::filesystem::path path) : file_(std::move(path)) {}

    struct Change {
        bool any = false;
        bool restarted = false;  // read again from the start: shrunk or replaced
    };
    Change Refresh();

    const std::filesystem::path& Path() const { return file_.Path(); }
    const AnswersReader& Reader() const { return reader_; }

private:
    FollowedFile file_;
    AnswersReader reader_;
};

}  // namespace viewer
