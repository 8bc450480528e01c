#include "viewer/core/answers_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

namespace viewer {

AnswersFile::Change AnswersFile::Refresh() {
    Change change;
    // O_NONBLOCK: a FIFO under the name must not hang the window.
    const int file = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (file < 0) return change;
    struct stat info {};
    if (::fstat(file, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(file);
        return change;
    }
    const bool replaced = known_ && (info.st_dev != device_ || info.st_ino != inode_);
    if (replaced || static_cast<std::uint64_t>(info.st_size) < bytesRead_) {
        reader_ = AnswersReader();
        bytesRead_ = 0;
        change.any = change.restarted = true;
    }
    device_ = info.st_dev;
    inode_ = info.st_ino;
    known_ = true;
    std::vector<char> buffer;
    while (static_cast<std::uint64_t>(info.st_size) > bytesRead_) {
        buffer.resize(1 << 16);
        const ssize_t got = ::pread(file, buffer.data(), buffer.size(), static_cast<off_t>(bytesRead_));
        if (got < 0 && errno == EINTR) continue;
        // A lock or a read error: what was read stays, the next refresh goes on.
        if (got <= 0) break;
        reader_.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
        bytesRead_ += static_cast<std::uint64_t>(got);
        change.any = true;
    }
    ::close(file);
    return change;
}

}  // namespace viewer
