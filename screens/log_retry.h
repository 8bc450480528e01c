#pragma once

#include <QTimer>
#include <functional>
#include <vector>

namespace resultslog {
class PendingAppend;
}

// Appends what the results log and the answers record had to hold back
// (their files locked by another program, or not writable) about once a
// second until all of it is in the files. Each file is tried on its own,
// whatever became of the one before. A try takes a lock only if it is free
// at once, so a busy file costs the window on screen no wait; with
// protected results the collecting service's link retries instead, and it
// waits up to its patience for each answer.
class LogRetry {
public:
    // `afterAttempt` runs after each try, so that the screens can follow.
    LogRetry(std::vector<resultslog::PendingAppend*> files, std::function<void()> afterAttempt);

    // Starts the tries if a file now holds bytes back; for after every
    // append attempted.
    void Follow();
    bool Retrying() const;

private:
    void Attempt();

    std::vector<resultslog::PendingAppend*> files_;
    std::function<void()> afterAttempt_;
    QTimer timer_;
};
