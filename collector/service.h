#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "collector/attempt.h"
#include "collector/attempt_store.h"
#include "collector/limits.h"
#include "collector/protocol.h"

namespace collector {

struct ServiceConfig {
    std::filesystem::path settingsFile = "/etc/kalvena/kalvena.conf";
    std::filesystem::path stateFolder = "/var/lib/kalvena-collector";
    std::string computer;  // %h and the answers record's computer
    std::string version;
    Limits limits;
};

// The collecting service: one thread, one poll() loop over the listening
// socket and the students' connections, all non-blocking. A message is
// acted on only once it is whole; a file's lock is taken only if it is free
// at once and held for one append. Attempts live on disk in the state
// folder from their registration to the last write of their end.
class Service {
public:
    Service(ServiceConfig config, int listenFd);
    ~Service();
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    // Takes the attempts kept on disk by an earlier run: their pending writes
    // go on, the open ones wait for their programs' `resume`.
    void LoadKept();
    // Runs until `stop` turns true (checked at least every half second).
    void Run(const std::atomic<bool>& stop);
    // One round of the loop, waiting at most `wait` for something to do.
    void Step(std::chrono::milliseconds wait);

private:
    struct Connection {
        int fd = -1;
        uid_t uid = 0;
        std::string account;
        std::string buffer;
        std::optional<std::chrono::steady_clock::time_point> messageSince;
        std::uint64_t attempt = 0;  // the open attempt this program runs
        // The counts of an attempt that ended with its last answer, for the
        // program's one `end` that follows.
        std::optional<std::pair<std::int32_t, std::int32_t>> endedCounts;
        int refusals = 0;
        bool closing = false;
    };
    struct Watched {
        Attempt attempt;
        bool connected = false;
        std::chrono::steady_clock::time_point waitingSince;  // for resume, when not connected
        std::chrono::steady_clock::time_point lastEvent;
    };
    struct AccountUse {
        int connections = 0;
        std::deque<std::chrono::steady_clock::time_point> registrations;
        int refusalsLogged = 0;
        std::chrono::steady_clock::time_point refusalWindow;
    };

    void Accept();
    void ReadFrom(Connection& connection);
    // Acts on one whole message of the connection, if there is one.
    void ActOnOneMessage(Connection& connection);
    std::string Act(Connection& connection, const Message& message);
    std::string Refuse(Connection& connection, const std::string& reason);
    std::string RegisterAttempt(Connection& connection, const Register& message);
    void Send(Connection& connection, const std::string& reply);
    void Drop(Connection& connection);
    // Ends the attempt and saves it; its writes follow once this round's
    // replies are sent.
    void Finish(Watched& watched, resultslog::Ending ending);
    // Carries out what the attempt has still to write; forgets it once all is
    // written.
    void Write(std::uint64_t id);
    void WriteAllDue();
    void WriteSoon();
    void EndOverdue();
    bool Save(const Attempt& attempt);
    int OpenAttemptsOf(uid_t uid) const;
    std::int64_t NowMs() const;

    ServiceConfig config_;
    int listenFd_;
    AttemptStore store_;
    std::vector<std::unique_ptr<Connection>> connections_;
    std::map<std::uint64_t, Watched> attempts_;
    std::map<uid_t, AccountUse> accounts_;
    std::chrono::steady_clock::time_point nextWrite_;
    bool writesDue_ = false;
};

// The account's name as the system knows it, its number when it has none.
std::string AccountName(uid_t uid);

}  // namespace collector
