#include "log/results_log.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "log/append_file.h"
#include "log/cp1251.h"
#include "log/log_entry.h"

namespace resultslog {

namespace {

// Long enough for another copy of the program to finish its append, short
// enough that a window waiting for it does not seem to hang.
constexpr std::chrono::milliseconds kLockPatience{200};
// At the end nothing will try again and no window waits: another copy of
// the program, or a short backup, is given time to finish.
constexpr std::chrono::milliseconds kEndPatience{1500};

// The logs alive in this process, for the exit hook.
std::vector<ResultsLog*>& LiveLogs() {
    static std::vector<ResultsLog*> logs;
    return logs;
}

}  // namespace

ResultsLog::ResultsLog(std::filesystem::path path) : path_(std::move(path)) {
    std::vector<ResultsLog*>& live = LiveLogs();
    // Registered after the list was made, so the hook runs before the list
    // is destroyed.
    static const bool exitHooked = std::atexit(FlushLiveLogsAtExit) == 0;
    static_cast<void>(exitHooked);
    live.push_back(this);
}

ResultsLog::~ResultsLog() {
    std::erase(LiveLogs(), this);
    // Program end: an abandoned test keeps its header.
    FlushAtProcessEnd();
    CloseAppendFile(fd_);
}

void ResultsLog::Open() {
    // Bytes still pending go to the file opened now, the one the name gives.
    // They are left from a close that has just failed (or from a test being
    // left, which the end of the program appends anyway), so one try for
    // the lock will do: waiting again would freeze the window a second time
    // as it appears.
    CloseAppendFile(fd_);
    fd_ = OpenAppendFile(path_);
    healthy_ = fd_ >= 0;
    if (healthy_) {
        Flush(std::chrono::milliseconds{0});
    } else {
        lockBusy_ = false;
    }
}

void ResultsLog::WriteStudentHeader(std::string_view fullName, std::string_view platoon) {
    pending_ += StudentHeaderBytes(fullName, platoon);
}

void ResultsLog::WriteTestResult(std::int32_t rightCount, std::int32_t questionsToAsk) {
    pending_ += TestResultBytes({rightCount, questionsToAsk});
}

void ResultsLog::Close() {
    Flush(kLockPatience);
    CloseAppendFile(fd_);
    fd_ = -1;
}

bool ResultsLog::AppendHeldBack() {
    if (due_ == 0) return true;
    const bool wasOpen = IsOpen();
    healthy_ = AppendPending(std::chrono::milliseconds{0});
    if (!wasOpen) {
        CloseAppendFile(fd_);
        fd_ = -1;
    }
    return due_ == 0;
}

bool ResultsLog::IsOpen() const { return fd_ >= 0; }

bool ResultsLog::Healthy() const { return healthy_; }

ResultsLog::Holdup ResultsLog::HeldBack() const {
    if (due_ == 0) return Holdup::None;
    return lockBusy_ ? Holdup::LockBusy : Holdup::FileUnwritable;
}

bool ResultsLog::Flush(std::chrono::milliseconds patience) {
    due_ = pending_.size();
    if (due_ == 0) return true;
    healthy_ = AppendPending(patience);
    return healthy_;
}

bool ResultsLog::AppendPending(std::chrono::milliseconds patience) {
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
            // log): the entry goes where the next reader will look. Closing
            // also lets go of the lock.
            CloseAppendFile(fd_);
            fd_ = -1;
            continue;
        }
        const Appended appended = AppendWhole(fd_, std::string_view(pending_).substr(0, due_), lock == FileLock::Held);
        if (lock == FileLock::Held) UnlockFile(fd_);
        pending_.erase(0, appended.inFile);
        due_ -= appended.inFile;
        return appended.whole;
    }
}

void ResultsLog::FlushAtProcessEnd() {
    if (Flush(kEndPatience)) return;
    std::string text = Cp1251ToUtf8(pending_);
    std::erase(text, '\r');
    std::fprintf(stderr, "Калвена: файл %s недоступен для записи, эти строки в него не попали:\n%s", path_.c_str(),
                 text.c_str());
    std::fflush(stderr);
    pending_.clear();
    due_ = 0;
}

void ResultsLog::FlushLiveLogsAtExit() {
    for (ResultsLog* log : LiveLogs()) log->FlushAtProcessEnd();
}

}  // namespace resultslog
