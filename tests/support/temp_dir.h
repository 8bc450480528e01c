#pragma once

#include <filesystem>

namespace testsupport {

// Makes a fresh temporary directory the working directory for the lifetime
// of the object, then returns to the previous one and removes it.
class TemporaryWorkingDirectory {
public:
    TemporaryWorkingDirectory();
    ~TemporaryWorkingDirectory();
    TemporaryWorkingDirectory(const TemporaryWorkingDirectory&) = delete;
    TemporaryWorkingDirectory& operator=(const TemporaryWorkingDirectory&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

// The whole content of a file as bytes; empty when it does not exist.
std::string ReadFileBytes(const std::filesystem::path& path);

}  // namespace testsupport
