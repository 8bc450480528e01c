#pragma once

#include <QTimer>
#include <functional>

namespace resultslog {
class ResultsLog;
}

// Appends what the results log had to hold back (its file locked by another
// program, or not writable) about once a second until all of it is in the
// file. Each try takes the lock only if it is free at once, so the window
// on screen never waits for it.
class LogRetry {
public:
    // `afterAttempt` runs after each try, so that the screens can follow.
    LogRetry(resultslog::ResultsLog& log, std::function<void()> afterAttempt);

    // Starts the tries if the log now holds bytes back; for after every
    // append that the log attempted.
    void Follow();
    bool Retrying() const;

private:
    void Attempt();

    resultslog::ResultsLog& log_;
    std::function<void()> afterAttempt_;
    QTimer timer_;
};
