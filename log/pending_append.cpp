#include "log/pending_append.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "log/append_file.h"

namespace resultslog {

namespace {

// At the end nothing will try again and no window waits: another copy of
// the program, or a short backup, is given time to finish.
constexpr std::chrono::milliseconds kEndPatience{1500};
// What its write-ahead file holds is safe anyway: the next program appends
// it, so the end need not wait as long.
constexpr std::chrono::milliseconds kEndPatienceWhenKept{600};

// The files alive in this process, for the exit hook.
std::vector<PendingAppend*>& LiveFiles() {
    static std::vector<PendingAppend*> files;
    return files;
}

}  // namespace

PendingAppend::PendingAppend(std::filesystem::path path, std::string (*asText)(std::string_view))
    : path_(std::move(path)), asText_(asText), ahead_(path_) {
    std::vector<PendingAppend*>& live = LiveFiles();
    // Registered after the list was made, so the hook runs before the list
    // is destroyed.
    static const bool exitHooked = std::atexit(FlushLiveFilesAtExit) == 0;
    static_cast<void>(exitHooked);
    live.push_back(this);
}

PendingAppend::~PendingAppend() {
    std::erase(LiveFiles(), this);
    FlushAtProcessEnd();
    CloseAppendFile(fd_);
}

void PendingAppend::Open() {
    // Bytes still pending go to the file opened now, the one the name gives.
    // They are left from a close that has just failed (or from a test being
    // left, which the end of the program appends anyway), so one try for
    // the lock will do: waiting again would freeze the window a second time
    // as it appears.
    CloseAppendFile(fd_);
    fd_ = OpenAppendFile(path_);
    healthy_ = fd_ >= 0;
    if (fd_ >= 0) AdoptOrphans();
    if (healthy_) {
        Flush(std::chrono::milliseconds{0});
    } else {
        lockBusy_ = false;
    }
}

void PendingAppend::Add(std::string_view bytes) {
    pending_ += bytes;
    KeepAhead();
}

bool PendingAppend::Flush(std::chrono::milliseconds patience) {
    due_ = pending_.size();
    if (due_ == 0) return true;
    healthy_ = AppendDue(patience);
    return healthy_;
}

void PendingAppend::Close() {
    Flush(kLockPatience);
    CloseAppendFile(fd_);
    fd_ = -1;
}

bool PendingAppend::AppendHeldBack() {
    if (due_ == 0) return true;
    const bool wasOpen = IsOpen();
    healthy_ = AppendDue(std::chrono::milliseconds{0});
    if (!wasOpen) {
        CloseAppendFile(fd_);
        fd_ = -1;
    }
    return due_ == 0;
}

bool PendingAppend::IsOpen() const { return fd_ >= 0; }

bool PendingAppend::Healthy() const { return healthy_; }

Holdup PendingAppend::HeldBack() const {
    if (due_ == 0) return Holdup::None;
    return lockBusy_ ? Holdup::LockBusy : Holdup::FileUnwritable;
}

bool PendingAppend::WroteUnlocked() const { return unlocked_; }

void PendingAppend::BeforeExit(std::function<void()> addLastBytes) { beforeExit_ = std::move(addLastBytes); }

bool PendingAppend::AppendDue(std::chrono::milliseconds patience) {
    lockBusy_ = false;
    for (;;) {
        const bool justOpened = fd_ < 0;
        if (justOpened) fd_ = OpenAppendFile(path_);
        if (fd_ < 0) return false;
        const FileLock lock = LockFile(fd_, patience);
        lockBusy_ = lock == FileLock::Busy;
        if (lockBusy_) return false;
        if (!justOpened && !StillNamedBy(fd_, path_)) {
            // Deleted or renamed while open (an instructor collecting the
            // file): the bytes go where the next reader will look. Closing
            // also lets go of the lock.
            CloseAppendFile(fd_);
            fd_ = -1;
            continue;
        }
        unlocked_ = lock == FileLock::Refused;
        const Appended appended = AppendWhole(fd_, std::string_view(pending_).substr(0, due_), lock == FileLock::Held);
        if (lock == FileLock::Held) UnlockFile(fd_);
        pending_.erase(0, appended.inFile);
        due_ -= appended.inFile;
        if (appended.inFile > 0) KeepAhead();
        return appended.whole;
    }
}

void PendingAppend::TakeOverLeftBehind() {
    const std::size_t before = pending_.size();
    AdoptOrphans();
    if (pending_.size() == before) return;
    const bool wasOpen = IsOpen();
    Flush(std::chrono::milliseconds{0});
    if (!wasOpen) {
        CloseAppendFile(fd_);
        fd_ = -1;
    }
}

std::filesystem::path PendingAppend::WriteAheadFile() const {
    return aheadKept_ && !pending_.empty() ? ahead_.Holder() : std::filesystem::path();
}

std::string PendingAppend::PendingText() const { return asText_(pending_); }

void PendingAppend::KeepAhead() { aheadKept_ = ahead_.Keep(pending_); }

void PendingAppend::AdoptOrphans() {
    // Entries of programs that ended without appending them (killed, or the
    // power cut) join this program's own, behind what it holds whole.
    resultslog::AdoptOrphans(path_, ahead_.Holder(), [this](std::string_view bytes) {
        pending_ += bytes;
        KeepAhead();
        if (aheadKept_) return true;
        pending_.resize(pending_.size() - bytes.size());
        KeepAhead();
        return false;
    });
}

void PendingAppend::FlushAtProcessEnd() {
    const std::filesystem::path kept = WriteAheadFile();
    if (Flush(kept.empty() ? kEndPatience : kEndPatienceWhenKept)) return;
    const std::string text = asText_(pending_);
    if (kept.empty()) {
        std::fprintf(stderr, "Калвена: файл %s недоступен для записи, эти строки в него не попали:\n%s", path_.c_str(),
                     text.c_str());
    } else {
        std::fprintf(stderr,
                     "Калвена: файл %s занят или недоступен, эти строки в него еще не попали; они сохранены в файле "
                     "%s и будут дописаны при следующем запуске программы:\n%s",
                     path_.c_str(), kept.c_str(), text.c_str());
    }
    std::fflush(stderr);
    // The write-ahead file stays as it is, for the next program.
    ahead_.Leave();
    pending_.clear();
    due_ = 0;
}

void PendingAppend::FlushLiveFilesAtExit() {
    for (PendingAppend* file : LiveFiles()) {
        if (file->beforeExit_) file->beforeExit_();
        file->FlushAtProcessEnd();
    }
}

}  // namespace resultslog
