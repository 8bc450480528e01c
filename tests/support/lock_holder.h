#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>

namespace testsupport {

// Another process that holds the exclusive lock on a file (creating it when
// missing) from construction until Release() or destruction, as a second
// copy of the program or a backup script would; or only for `holdFor`, as
// another copy appending its own entry would.
class LockHolder {
public:
    explicit LockHolder(const std::filesystem::path& path,
                        std::chrono::milliseconds holdFor = std::chrono::milliseconds::max());
    ~LockHolder();
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    void Release();

private:
    pid_t holder_ = -1;
    int releasePipe_ = -1;
};

}  // namespace testsupport
