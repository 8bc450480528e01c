#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/answers_line.h"

namespace resultslog {

// The test program's side of protected results: each event of a test goes
// to the collecting service as it happens, over its Unix socket, and waits
// in order until the service has answered it. Nothing here waits longer
// than the patience given: an event the service has not answered yet stays
// queued and is sent again (after `resume` on a new connection) by a later
// Pump(). An event the service refuses is dropped and reported, with the
// rest of its test when the refusal was of the registration or the resume,
// and never holds back the events after it.
class CollectorClient {
public:
    explicit CollectorClient(std::filesystem::path socket);
    // Tells the service the program ends, if a test is running, and waits a
    // little for what is queued; what still waits goes to standard error.
    ~CollectorClient();
    CollectorClient(const CollectorClient&) = delete;
    CollectorClient& operator=(const CollectorClient&) = delete;

    void Register(std::string_view fullName, std::string_view platoon);
    void ChooseTheme(int theme);
    void Answer(std::string_view question, int chosen);
    void End(Ending ending);

    // Sends what waits and reads the replies, for at most `patience`.
    // True once nothing waits.
    bool Pump(std::chrono::milliseconds patience);

    // Events not yet answered by the service.
    bool Waiting() const;
    // False since the service could not be reached or went away.
    bool Reachable() const;
    // The refusals since the last call, each "what: why".
    std::vector<std::string> TakeRefusals();
    // The service's counts of the last test it ended: right, asked.
    std::optional<std::pair<std::int32_t, std::int32_t>> LastCounts() const;

private:
    enum class Kind { Register, Theme, Answer, End, Resume };
    struct Event {
        Kind kind;
        std::string line;
    };

    void Queue(Kind kind, std::string line);
    bool Connect();
    void Disconnect();
    bool SendHead(std::chrono::steady_clock::time_point deadline);
    // Reads until a whole reply is there or the deadline passes.
    std::optional<std::string> ReadReply(std::chrono::steady_clock::time_point deadline);
    void TakeReply(const std::string& reply);

    std::filesystem::path socket_;
    int fd_ = -1;
    std::deque<Event> queue_;
    bool inFlight_ = false;  // the head was sent and waits for its reply
    std::string received_;
    std::uint64_t attempt_ = 0;  // the service's id of the test running
    bool dropping_ = false;      // the running test was refused: its events go
    bool running_ = false;       // a test registered here has not ended
    bool reachable_ = true;
    std::vector<std::string> refusals_;
    std::optional<std::pair<std::int32_t, std::int32_t>> lastCounts_;
};

}  // namespace resultslog
