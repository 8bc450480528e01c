#include "screens/log_retry.h"

#include <chrono>

#include "log/results_log.h"

namespace {

// Soon enough that an entry lands moments after the file is free, seldom
// enough to cost nothing while it is not.
constexpr std::chrono::milliseconds kRetryInterval{1000};

}  // namespace

LogRetry::LogRetry(resultslog::ResultsLog& log, std::function<void()> afterAttempt)
    : log_(log), afterAttempt_(std::move(afterAttempt)) {
    timer_.setInterval(kRetryInterval);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Attempt(); });
}

void LogRetry::Follow() {
    if (log_.HeldBack() == resultslog::ResultsLog::Holdup::None) {
        timer_.stop();
    } else if (!timer_.isActive()) {
        timer_.start();
    }
}

bool LogRetry::Retrying() const { return timer_.isActive(); }

void LogRetry::Attempt() {
    if (log_.AppendHeldBack()) timer_.stop();
    afterAttempt_();
}
