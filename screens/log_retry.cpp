#include "screens/log_retry.h"

#include <chrono>

#include <algorithm>

#include "log/pending_append.h"

namespace {

// Soon enough that an entry lands moments after the file is free, seldom
// enough to cost nothing while it is not.
constexpr std::chrono::milliseconds kRetryInterval{1000};

}  // namespace

LogRetry::LogRetry(std::vector<resultslog::PendingAppend*> files, std::function<void()> afterAttempt)
    : files_(std::move(files)), afterAttempt_(std::move(afterAttempt)) {
    timer_.setInterval(kRetryInterval);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Attempt(); });
}

void LogRetry::Follow() {
    const bool allWritten = std::ranges::all_of(
        files_, [](const resultslog::PendingAppend* file) { return file->HeldBack() == resultslog::Holdup::None; });
    if (allWritten) {
        timer_.stop();
    } else if (!timer_.isActive()) {
        timer_.start();
    }
}

bool LogRetry::Retrying() const { return timer_.isActive(); }

void LogRetry::Attempt() {
    bool allWritten = true;
    for (resultslog::PendingAppend* file : files_) allWritten = file->AppendHeldBack() && allWritten;
    if (allWritten) timer_.stop();
    afterAttempt_();
}
