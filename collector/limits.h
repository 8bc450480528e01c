#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace collector {

// What one account may ask of the service, and how long the service waits.
// A flood from one account meets these and is refused; nobody else waits
// for it.
struct Limits {
    int openAttemptsPerAccount = 3;
    int registrationsPerMinute = 6;
    int connectionsPerAccount = 4;
    int connections = 512;
    // Refusals one connection may earn before it is dropped.
    int refusalsPerConnection = 20;
    // "Results.txt" and its answers record take no new attempt beyond this.
    std::int64_t fileBytes = 64 * 1024 * 1024;
    // A message must arrive whole within this of its first byte.
    std::chrono::milliseconds messageTime{2000};
    // After a restart, how long an attempt kept on disk waits for its
    // program to come back with `resume`.
    std::chrono::milliseconds resumeWait{std::chrono::minutes{2}};
    // An attempt with no event for this long is abandoned.
    std::chrono::milliseconds idleLimit{std::chrono::hours{3}};
    // How often writes held back by a busy or unwritable file are tried.
    std::chrono::milliseconds writeRetry{50};
};

}  // namespace collector
