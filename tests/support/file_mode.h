#pragma once

#include <sys/stat.h>

#include <filesystem>

namespace testsupport {

// Sets the process's umask for the lifetime of the object.
class Umask {
public:
    explicit Umask(mode_t mask) : previous_(umask(mask)) {}
    ~Umask() { umask(previous_); }
    Umask(const Umask&) = delete;
    Umask& operator=(const Umask&) = delete;

private:
    mode_t previous_;
};

// The permission bits of a file or folder (setgid included); 0 when missing.
inline mode_t ModeOf(const std::filesystem::path& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return 0;
    return status.st_mode & 07777;
}

}  // namespace testsupport
