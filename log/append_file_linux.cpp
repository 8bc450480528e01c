#include "log/append_file.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

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

// System calls only: this also runs in the append helper below.
bool WriteAndSync(int fd, const char* data, std::size_t size) {
    const ssize_t written = RetryOnInterrupt([&] { return write(fd, data, size); });
    if (written < 0) return false;
    if (static_cast<std::size_t>(written) == size && RetryOnInterrupt([&] { return fsync(fd); }) == 0) return true;
    // A short write (full disk) or a failed sync: take our bytes out again,
    // so no torn line stays behind and a later attempt appends them whole.
    const off_t end = lseek(fd, 0, SEEK_CUR);
    if (end >= written) RetryOnInterrupt([&] { return ftruncate(fd, end - written); });
    return false;
}

bool AppendLockedAndSynced(int fd, const char* data, std::size_t size) {
    // Where the file system cannot lock at all, one unlocked append still
    // beats losing the entry.
    const bool locked = RetryOnInterrupt([&] { return flock(fd, LOCK_EX); }) == 0;
    const bool appended = WriteAndSync(fd, data, size);
    if (locked) flock(fd, LOCK_UN);
    return appended;
}

struct AppendJob {
    int fd;
    const char* data;
    std::size_t size;
    int outcome;  // written by the helper just before it ends
};

constexpr int kNotFinished = 0;
constexpr int kAppended = 1;
constexpr int kFailed = 2;
constexpr std::size_t kHelperStackSize = 64 * 1024;

int RunAppendJob(void* argument) {
    auto* job = static_cast<AppendJob*>(argument);
    // Out of the program's process group: a kill aimed at the group does
    // not reach the append.
    setpgid(0, 0);
    job->outcome = AppendLockedAndSynced(job->fd, job->data, job->size) ? kAppended : kFailed;
    return 0;
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
    // Linux stops a write between pages when the writer is being killed,
    // which would leave a torn line. So the append runs in a helper process
    // that shares our memory (we wait for it, as with vfork) and lives on
    // if this process is killed; it has every signal blocked, so only a kill
    // aimed at the helper itself can cut the write.
    AppendJob job{fd, bytes.data(), bytes.size(), kNotFinished};
    const auto stack = std::make_unique_for_overwrite<char[]>(kHelperStackSize);
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t helper = clone(RunAppendJob, stack.get() + kHelperStackSize, CLONE_VM | CLONE_VFORK | SIGCHLD, &job);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (helper < 0) return AppendLockedAndSynced(fd, bytes.data(), bytes.size());
    // The outcome is already known; this only reaps the helper.
    RetryOnInterrupt([&] { return waitpid(helper, nullptr, 0); });
    return job.outcome == kAppended;
}

void CloseAppendFile(int fd) {
    if (fd >= 0) close(fd);
}

}  // namespace resultslog
