#pragma once

#include <QTimer>
#include <functional>
#include <vector>

namespace resultslog {
class PendingAppend;
}

// Appends what the results log and the answers record had to hold back
// (their files locked by another program, or not writable) about once a
// second until all of it is in the files. Each try takes the lock only if it is free at once, so the window
// on screen never waits for it.
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
