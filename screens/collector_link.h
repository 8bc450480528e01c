#pragma once

#include <QString>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "log/collector_client.h"

// Protected results as the registration window follows them: the events of
// a test go to the collecting service as they happen, each waiting a few
// hundred milliseconds at most for its answer; what the service has not
// answered is sent again about once a second.
class CollectorLink {
public:
    // `afterAttempt` runs after each try, so that the screens can follow.
    CollectorLink(std::filesystem::path socket, std::function<void()> afterAttempt);

    resultslog::CollectorClient& Client();
    // Sends what waits; starts or stops the retries.
    void Send();
    // The registration window's red line: why a test is not recorded yet or
    // was refused; empty while all is well.
    QString WarningText() const;
    // A new registration: an earlier refusal is no longer news.
    void ForgetRefusals();

private:
    void Attempt();

    resultslog::CollectorClient client_;
    std::function<void()> afterAttempt_;
    QTimer timer_;
    QString refusal_;
};
