#include "log/write_ahead.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <random>
#include <vector>

#include "log/append_file.h"

namespace resultslog {

namespace {

// Far more than any program holds back; a bigger file is not one of ours.
constexpr off_t kLargestWriteAhead = 1 << 20;
// A replacement left half made by a program that died while making it; a
// younger one may be another program's, being made now.
constexpr std::chrono::minutes kAbandonedReplacementAge{10};
constexpr std::string_view kReplacementSuffix = ".new";

template <typename Call>
auto RetryOnInterrupt(Call call) {
    auto result = call();
    while (result == -1 && errno == EINTR) result = call();
    return result;
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

std::string ComputerName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "computer";
    std::string text = name;
    // A name part only: no separators of paths.
    std::ranges::replace(text, '/', '_');
    return text;
}

std::filesystem::path NewName(const std::filesystem::path& logPath) {
    const auto [prefix, suffix] = WriteAheadNamePattern(logPath);
    std::random_device device;
    char unique[32];
    std::snprintf(unique, sizeof unique, "-%ld-%08x", static_cast<long>(getpid()), device());
    return FolderOf(logPath) / (prefix + ComputerName() + unique + suffix);
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string ReadAll(int fd) {
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t got = RetryOnInterrupt([&] { return read(fd, buffer, sizeof buffer); });
        if (got <= 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

// Opens a write-ahead file of another program and takes its lock, which is
// free only once that program has ended. -1 otherwise.
int TakeOver(const std::filesystem::path& path) {
    // Read and write: a network folder's emulated lock needs both.
    const int fd =
        RetryOnInterrupt([&] { return open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK); });
    if (fd < 0) return -1;
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > kLargestWriteAhead ||
        RetryOnInterrupt([&] { return flock(fd, LOCK_EX | LOCK_NB); }) != 0 || !StillNamedBy(fd, path)) {
        close(fd);
        return -1;
    }
    return fd;
}

struct Orphan {
    std::filesystem::path path;
    std::filesystem::file_time_type changed;
};

}  // namespace

WriteAhead::WriteAhead(std::filesystem::path logPath) : logPath_(std::move(logPath)) {}

WriteAhead::~WriteAhead() { Leave(); }

bool WriteAhead::Keep(std::string_view bytes) {
    if (bytes.empty()) {
        Remove();
        return true;
    }
    return Replace(bytes);
}

void WriteAhead::Leave() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    path_.clear();
}

std::filesystem::path WriteAhead::Holder() const { return fd_ >= 0 ? path_ : std::filesystem::path(); }

bool WriteAhead::Replace(std::string_view bytes) {
    if (path_.empty()) path_ = NewName(logPath_);
    std::filesystem::path replacement = path_;
    replacement += kReplacementSuffix;
    const int fd = RetryOnInterrupt([&] {
        return open(replacement.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0660);
    });
    if (fd < 0) return false;
    // Locked before its name is the one others look for, so that no other
    // program takes it for an orphan. A folder that refuses locks cannot
    // tell a live program's file from an orphan: then there is none.
    const bool made = RetryOnInterrupt([&] { return flock(fd, LOCK_EX | LOCK_NB); }) == 0 && fchmod(fd, 0660) == 0 &&
                      WriteAll(fd, bytes) && RetryOnInterrupt([&] { return fsync(fd); }) == 0 &&
                      std::rename(replacement.c_str(), path_.c_str()) == 0;
    if (!made) {
        unlink(replacement.c_str());
        close(fd);
        // A file that no longer matches what is pending would be appended
        // again, or in part, by the next program.
        Remove();
        return false;
    }
    SyncFolderOf(path_);
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
    return true;
}

void WriteAhead::Remove() {
    if (fd_ < 0) return;
    unlink(path_.c_str());
    SyncFolderOf(path_);
    close(fd_);
    fd_ = -1;
}

std::pair<std::string, std::string> WriteAheadNamePattern(const std::filesystem::path& logPath) {
    // Named, not a temporary: GCC 12 at -O3 inlines "." + temporary into a
    // self-insert it wrongly reports as an overlapping copy (-Wrestrict).
    const std::string logName = logPath.filename().string();
    return {"." + logName + ".", ".pending"};
}

void AdoptOrphans(const std::filesystem::path& logPath, const std::filesystem::path& own,
                  const std::function<bool(std::string_view bytes)>& adopt) {
    const auto [logPrefix, suffix] = WriteAheadNamePattern(logPath);
    // Only this computer's: where a shared folder does not carry locks from
    // one computer to another, another computer's live program would look
    // gone, and its entry would be appended twice.
    const std::string prefix = logPrefix + ComputerName() + "-";
    std::vector<Orphan> orphans;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(FolderOf(logPath), error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (!name.starts_with(prefix)) continue;
        std::error_code timeError;
        const auto changed = entry->last_write_time(timeError);
        if (timeError) continue;
        if (EndsWith(name, suffix) && entry->path() != own) {
            orphans.push_back({entry->path(), changed});
        } else if (EndsWith(name, std::string(suffix) + std::string(kReplacementSuffix)) &&
                   std::filesystem::file_time_type::clock::now() - changed > kAbandonedReplacementAge) {
            if (const int fd = TakeOver(entry->path()); fd >= 0) {
                unlink(entry->path().c_str());
                close(fd);
            }
        }
    }
    std::ranges::sort(orphans, {}, &Orphan::changed);
    for (const Orphan& orphan : orphans) {
        const int fd = TakeOver(orphan.path);
        if (fd < 0) continue;
        const std::string bytes = ReadAll(fd);
        if (bytes.empty() || adopt(bytes)) {
            unlink(orphan.path.c_str());
            SyncFolderOf(orphan.path);
        }
        close(fd);
    }
}

}  // namespace resultslog
