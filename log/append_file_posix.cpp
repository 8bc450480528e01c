#include "log/append_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace resultslog {

namespace {

template <typename Call>
auto RetryOnInterrupt(Call call) {
    auto result = call();
    while (result == -1 && errno == EINTR) result = call();
    return result;
}

// A newly created name is durable only once its directory is synced.
void SyncDirectoryOf(const std::filesystem::path& path) {
    std::filesystem::path directory = path.parent_path();
    if (directory.empty()) directory = ".";
    const int fd = RetryOnInterrupt([&] { return open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0) return;
    RetryOnInterrupt([&] { return fsync(fd); });
    close(fd);
}

bool WriteAndSync(int fd, std::string_view bytes) {
    const ssize_t written = RetryOnInterrupt([&] { return write(fd, bytes.data(), bytes.size()); });
    if (written < 0) return false;
    if (static_cast<std::size_t>(written) == bytes.size() && RetryOnInterrupt([&] { return fsync(fd); }) == 0) {
        return true;
    }
    // A short write (full disk) or a failed sync: take our bytes out again,
    // so no torn line stays behind and a later attempt appends them whole.
    const off_t end = lseek(fd, 0, SEEK_CUR);
    if (end >= written) RetryOnInterrupt([&] { return ftruncate(fd, end - written); });
    return false;
}

}  // namespace

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
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || fcntl(fd, F_SETFL, O_APPEND) != 0) {
        close(fd);
        return -1;
    }
    if (created) SyncDirectoryOf(path);
    return fd;
}

bool AppendWhole(int fd, std::string_view bytes) {
    if (bytes.empty()) return true;
    // Where the file system cannot lock at all, one unlocked append still
    // beats losing the entry.
    const bool locked = RetryOnInterrupt([&] { return flock(fd, LOCK_EX); }) == 0;
    const bool appended = WriteAndSync(fd, bytes);
    if (locked) flock(fd, LOCK_UN);
    return appended;
}

void CloseAppendFile(int fd) {
    if (fd >= 0) close(fd);
}

}  // namespace resultslog
