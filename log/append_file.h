#pragma once

#include <filesystem>
#include <string_view>

namespace resultslog {

// Opens a regular file for appending, creating it when missing. Returns the
// descriptor, or -1 when the file cannot be opened or is not a regular file.
int OpenAppendFile(const std::filesystem::path& path);

// Appends the bytes with one write under an exclusive lock and syncs them
// before the lock is released, so concurrent appenders never interleave and
// a kill of this process cannot cut the write short. On failure the file is
// cut back to where it was and false is returned.
bool AppendWhole(int fd, std::string_view bytes);

void CloseAppendFile(int fd);

}  // namespace resultslog
