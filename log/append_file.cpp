#include "log/append_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "log/run_to_completion.h"

namespace resultslog {

namespace {

template <typename Call>
auto RetryOnInterrupt(Call call) {
    auto result = call();
    while (result == -1 && errno == EINTR) result = call();
    return result;
}

// In a folder its group may write to (a class's shared folder), the file
// the first student's program creates must take the next student's
// appends, whatever that first student's umask: the group gets write
// permission, and nothing else is widened.
void ShareWithFolderGroup(int fd, const std::filesystem::path& path) {
    std::filesystem::path directory = path.parent_path();
    if (directory.empty()) directory = ".";
    struct stat folder {};
    struct stat file {};
    if (stat(directory.c_str(), &folder) != 0 || (folder.st_mode & S_IWGRP) == 0) return;
    if (fstat(fd, &file) != 0 || (file.st_mode & S_IWGRP) != 0) return;
    // Fails harmlessly when another account created the file meanwhile.
    RetryOnInterrupt([&] { return fchmod(fd, (file.st_mode & 07777) | S_IWGRP); });
}

struct AppendJob {
    int fd;
    std::string_view bytes;
    off_t sizeBefore;  // where to cut back to; -1 when we may not cut
    std::size_t inFile;
};

// Under the lock nobody has appended since `sizeBefore` was taken, so
// taking our bytes out leaves the file as it was.
void CutBack(AppendJob& job) {
    if (job.sizeBefore < 0 || job.inFile == 0) return;
    if (RetryOnInterrupt([&] { return ftruncate(job.fd, job.sizeBefore); }) == 0) job.inFile = 0;
}

// The write itself, where a kill could tear a line. System calls only: this
// runs through RunToCompletion.
void RunWriteJob(void* argument) {
    AppendJob& job = *static_cast<AppendJob*>(argument);
    const ssize_t written = RetryOnInterrupt([&] { return write(job.fd, job.bytes.data(), job.bytes.size()); });
    job.inFile = written > 0 ? static_cast<std::size_t>(written) : 0;
    // A short write (full disk).
    if (job.inFile < job.bytes.size()) CutBack(job);
}

}  // namespace

void SyncFolderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    const int fd = RetryOnInterrupt([&] { return open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0) return;
    RetryOnInterrupt([&] { return fsync(fd); });
    close(fd);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = RetryOnInterrupt([&] { return write(fd, bytes.data(), bytes.size()); });
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

int OpenAppendFile(const std::filesystem::path& path) {
    // Non-blocking so that a FIFO in the file's place cannot hang the open.
    const int flags = O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    int fd = RetryOnInterrupt([&] { return open(path.c_str(), flags); });
    bool created = false;
    if (fd < 0 && errno == ENOENT) {
        fd = RetryOnInterrupt([&] { return open(path.c_str(), flags | O_CREAT, 0666); });
        created = fd >= 0;
    }
    if (fd < 0) return -1;
    // Only a regular file will do; its writes then block as usual, so
    // O_NONBLOCK, which only guarded the open, goes.
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || fcntl(fd, F_SETFL, O_APPEND) != 0) {
        close(fd);
        return -1;
    }
    if (created) {
        ShareWithFolderGroup(fd, path);
        SyncFolderOf(path);
    }
    return fd;
}

void CloseAppendFile(int fd) {
    if (fd >= 0) close(fd);
}

bool StillNamedBy(int fd, const std::filesystem::path& path) {
    struct stat open {};
    struct stat named {};
    if (fstat(fd, &open) != 0 || stat(path.c_str(), &named) != 0) return false;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

FileLock LockFile(int fd, std::chrono::milliseconds patience) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + patience;
    for (;;) {
        if (RetryOnInterrupt([&] { return flock(fd, LOCK_EX | LOCK_NB); }) == 0) return FileLock::Held;
        // A network folder's refusal may pass as the lock does: wait as long.
        const FileLock failed = errno == EWOULDBLOCK ? FileLock::Busy : FileLock::Refused;
        if (Clock::now() >= deadline) return failed;
        const timespec pause{0, 1'000'000};
        if (nanosleep(&pause, nullptr) != 0) return failed;
    }
}

void UnlockFile(int fd) { flock(fd, LOCK_UN); }

Appended AppendWhole(int fd, std::string_view bytes, bool locked) {
    if (bytes.empty()) return {0, true};
    struct stat status {};
    const bool mayCutBack = locked && fstat(fd, &status) == 0;
    AppendJob job{fd, bytes, mayCutBack ? status.st_size : -1, 0};
    RunToCompletion(RunWriteJob, &job);
    if (job.inFile < bytes.size()) return {job.inFile, false};
    // The sync waits for the disk, so it runs here: a kill meanwhile leaves
    // the bytes whole in the file, only not yet on the disk.
    if (RetryOnInterrupt([&] { return fsync(fd); }) == 0) return {job.inFile, true};
    CutBack(job);
    return {job.inFile, false};
}

}  // namespace resultslog
