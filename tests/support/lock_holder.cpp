#include "tests/support/lock_holder.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace testsupport {

LockHolder::LockHolder(const std::filesystem::path& path, std::chrono::milliseconds holdFor) {
    const int timeout = holdFor == std::chrono::milliseconds::max() ? -1 : static_cast<int>(holdFor.count());
    const std::string name = path.string();
    int release[2];
    int held[2];
    if (pipe(release) != 0 || pipe(held) != 0) throw std::runtime_error("no pipe for the lock holder");
    holder_ = fork();
    if (holder_ < 0) throw std::runtime_error("cannot start the lock holder");
    if (holder_ == 0) {
        // System calls only: the parent may run threads.
        close(release[1]);
        close(held[0]);
        // Nor keep another holder's release pipe open: that holder would
        // then never see its parent let go.
        const auto [low, high] = std::minmax(release[0], held[1]);
        close_range(3, static_cast<unsigned>(low) - 1, 0);
        close_range(static_cast<unsigned>(low) + 1, static_cast<unsigned>(high) - 1, 0);
        close_range(static_cast<unsigned>(high) + 1, ~0U, 0);
        const int fd = open(name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        const char ok = fd >= 0 && flock(fd, LOCK_EX) == 0 ? 1 : 0;
        if (write(held[1], &ok, 1) != 1) _exit(1);
        // Until the time is up or the parent lets go (its end of the pipe
        // closes).
        pollfd released{release[0], POLLIN, 0};
        while (poll(&released, 1, timeout) < 0) {
        }
        if (fd >= 0) flock(fd, LOCK_UN);
        _exit(0);
    }
    close(release[0]);
    close(held[1]);
    releasePipe_ = release[1];
    char ok = 0;
    const bool reported = read(held[0], &ok, 1) == 1;
    close(held[0]);
    if (!reported || ok != 1) {
        Release();
        throw std::runtime_error("the lock holder could not lock " + name);
    }
}

LockHolder::~LockHolder() { Release(); }

void LockHolder::Release() {
    if (holder_ < 0) return;
    close(releasePipe_);
    waitpid(holder_, nullptr, 0);
    holder_ = -1;
}

}  // namespace testsupport
