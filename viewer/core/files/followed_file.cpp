#include "viewer/core/files/followed_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <time.h>

#include <cerrno>
#include <chrono>
#include <vector>

#include "viewer/core/files/error_text.h"

namespace viewer {

namespace {

constexpr std::size_t kChunk = 1 << 20;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

// A network folder's lock (an SMB client makes a writer's lock mandatory)
// refuses a read with EACCES or EAGAIN for as long as the test program
// appends: that is a pause, not a broken or forbidden file.
constexpr std::chrono::milliseconds kLockedReadPatience{300};
constexpr const char* kLockedText = "файл занят другой программой, чтение повторяется";

bool RefusedByLock(int error, const std::filesystem::path& path, bool opened) {
    if (error == EAGAIN) return true;
    // An open refused by the file's own permissions is no lock.
    return error == EACCES && (opened || ::access(path.c_str(), R_OK) == 0);
}

// Calls `attempt` again while a lock refuses it, for a bounded time.
template <typename Attempt>
auto RetryWhileLocked(const std::filesystem::path& path, bool opened, Attempt attempt) {
    const auto deadline = std::chrono::steady_clock::now() + kLockedReadPatience;
    for (;;) {
        auto result = attempt();
        if (result >= 0) return result;
        if (errno == EINTR) continue;
        if (!RefusedByLock(errno, path, opened) || std::chrono::steady_clock::now() >= deadline) return result;
        const timespec pause{0, 20'000'000};
        nanosleep(&pause, nullptr);
    }
}

std::string Reason(int error, const std::filesystem::path& path, bool opened) {
    if (RefusedByLock(error, path, opened)) return kLockedText;
    if (error == ENOENT) return "файл не найден";
    if (error == EACCES || error == EPERM) return "нет доступа к файлу";
    return SystemErrorText(error);
}

}  // namespace

FollowedFile::Outcome FollowedFile::Follow(const std::function<void()>& restart,
                                           const std::function<void(std::string_view)>& feed) {
    Outcome outcome;
    // O_NONBLOCK: a FIFO or a device given by mistake must not hang the window.
    Descriptor file(RetryWhileLocked(
        path_, false, [&] { return ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK); }));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0) {
        problem_ = Reason(errno, path_, file.Get() >= 0);
        return outcome;
    }
    if (!S_ISREG(info.st_mode)) {
        problem_ = "это не обычный файл";
        return outcome;
    }
    problem_.clear();

    const auto size = static_cast<std::uint64_t>(info.st_size);
    const bool replaced = known_ && (info.st_dev != device_ || info.st_ino != inode_);
    if (replaced || size < offset_) {
        restart();
        offset_ = 0;
        outcome.restarted = true;
    } else if (size == offset_) {
        return outcome;
    }
    device_ = info.st_dev;
    inode_ = info.st_ino;
    known_ = true;

    std::vector<char> buffer(kChunk);
    for (;;) {
        const ssize_t got = RetryWhileLocked(path_, true, [&] {
            return ::pread(file.Get(), buffer.data(), buffer.size(), static_cast<off_t>(offset_));
        });
        if (got < 0) {
            problem_ = Reason(errno, path_, true);
            break;
        }
        if (got == 0) break;
        feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
        offset_ += static_cast<std::uint64_t>(got);
        outcome.fed = true;
    }
    return outcome;
}

}  // namespace viewer
