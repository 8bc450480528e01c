#include "collector/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "log/append_file.h"

namespace collector {

namespace {

// Read through a descriptor of its own: the append descriptor is write-only.
bool StandsAt(const std::string& path, std::int64_t offset, std::string_view bytes) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    std::string found(bytes.size(), '\0');
    std::size_t got = 0;
    while (got < found.size()) {
        const ssize_t n = pread(fd, found.data() + got, found.size() - got,
                                static_cast<off_t>(offset + static_cast<std::int64_t>(got)));
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    close(fd);
    return got == found.size() && found == bytes;
}

}  // namespace

WriteOutcome CarryOut(PendingWrite& write, const std::function<bool()>& keepOffset) {
    if (write.done) return WriteOutcome::Done;
    const int fd = resultslog::OpenAppendFile(write.path);
    if (fd < 0) return WriteOutcome::Failed;
    const resultslog::FileLock lock = resultslog::LockFile(fd, std::chrono::milliseconds{0});
    if (lock == resultslog::FileLock::Busy) {
        resultslog::CloseAppendFile(fd);
        return WriteOutcome::Busy;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        resultslog::CloseAppendFile(fd);
        return WriteOutcome::Failed;
    }
    if (write.offset >= 0 && write.offset + static_cast<std::int64_t>(write.bytes.size()) <= status.st_size &&
        StandsAt(write.path, write.offset, write.bytes)) {
        resultslog::CloseAppendFile(fd);
        write.done = true;
        return WriteOutcome::Done;
    }
    write.offset = status.st_size;
    if (!keepOffset()) {
        resultslog::CloseAppendFile(fd);
        return WriteOutcome::Failed;
    }
    const bool locked = lock == resultslog::FileLock::Held;
    const resultslog::Appended appended = resultslog::AppendWhole(fd, write.bytes, locked);
    resultslog::CloseAppendFile(fd);  // lets go of the lock
    // Unlocked bytes partly in stay there: writing them again would garble
    // the line further.
    if (appended.whole || (!locked && appended.inFile > 0)) write.done = true;
    return appended.whole ? WriteOutcome::Done : WriteOutcome::Failed;
}

}  // namespace collector
