#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace viewer {

// A file the viewer reads as it grows: opened read-only and never locked,
// so a writing test program is never held up; each look reads just the
// bytes appended since the last one. A file that shrank or was replaced by
// another one under the same name is read again from the start. A read
// refused by a network folder's lock is retried briefly, then told as such.
class FollowedFile {
public:
    explicit FollowedFile(std::filesystem::path path) : path_(std::move(path)) {}

    struct Outcome {
        bool restarted = false;  // `restart` was called
        bool fed = false;        // bytes went to `feed`
    };
    // Calls `restart` before reading from the start again, then `feed` with
    // each piece appended.
    Outcome Follow(const std::function<void()>& restart, const std::function<void(std::string_view)>& feed);

    const std::filesystem::path& Path() const { return path_; }
    // Why the file cannot be read right now (Russian, UTF-8); empty while
    // it can.
    const std::string& Problem() const { return problem_; }

private:
    std::filesystem::path path_;
    std::string problem_;
    std::uint64_t offset_ = 0;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    bool known_ = false;
};

}  // namespace viewer
