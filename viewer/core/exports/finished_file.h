#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace viewer {

// An export is written under a temporary name beside its target and takes
// the target's name only once whole, so a failed export never leaves half
// a file where the instructor expects the last good one.
class FinishedFile {
public:
    explicit FinishedFile(std::filesystem::path target);
    ~FinishedFile();  // removes the partial file unless Finish succeeded
    FinishedFile(const FinishedFile&) = delete;
    FinishedFile& operator=(const FinishedFile&) = delete;

    const std::filesystem::path& Partial() const { return partial_; }
    // Gives the partial file the target's name; an error message on failure.
    std::optional<std::string> Finish();
    // The message for a failure with the given reason (Russian, UTF-8).
    std::string Failure(const std::string& reason) const;

private:
    std::filesystem::path target_;
    std::filesystem::path partial_;
};

}  // namespace viewer
