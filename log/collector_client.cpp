#include "log/collector_client.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>

#include "log/unix_socket.h"

namespace resultslog {

namespace {

using Clock = std::chrono::steady_clock;

// At the end nothing will try again: the service is given time to answer.
constexpr std::chrono::milliseconds kEndPatience{1500};

int Remaining(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

std::string_view KindName(int kind) {
    constexpr std::string_view kNames[] = {"регистрация", "выбор темы", "ответ", "окончание теста",
                                           "продолжение теста"};
    return kNames[kind];
}

std::string AttemptIdText(std::uint64_t attempt) {
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, attempt >>= 4) text[static_cast<std::size_t>(i)] = "0123456789abcdef"[attempt & 15];
    return text;
}

std::string Field(std::string_view text) {
    // A tab or line break would split the message; the registration
    // window lets neither through.
    std::string out(text);
    for (char& c : out) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return out;
}

}  // namespace

CollectorClient::CollectorClient(std::filesystem::path socket) : socket_(std::move(socket)) {}

CollectorClient::~CollectorClient() {
    if (running_) End(Ending::ProgramEnd);
    Pump(kEndPatience);
    for (const Event& event : queue_) {
        std::fprintf(stderr, "Калвена: служба результатов (%s) не ответила, не записано: %s", socket_.c_str(),
                     event.line.c_str());
    }
    Disconnect();
}

void CollectorClient::Register(std::string_view fullName, std::string_view platoon) {
    if (running_) End(Ending::ProgramEnd);
    Queue(Kind::Register, "register\t" + Field(fullName) + "\t" + Field(platoon) + "\n");
    running_ = true;
}

void CollectorClient::ChooseTheme(int theme) { Queue(Kind::Theme, "theme\t" + std::to_string(theme) + "\n"); }

void CollectorClient::Answer(std::string_view question, int chosen) {
    Queue(Kind::Answer, "answer\t" + Field(question) + "\t" + std::to_string(chosen) + "\n");
}

void CollectorClient::End(Ending ending) {
    if (!running_) return;
    Queue(Kind::End, "end\t" + std::string(EndingName(ending)) + "\n");
    running_ = false;
}

void CollectorClient::Queue(Kind kind, std::string line) { queue_.push_back({kind, std::move(line)}); }

bool CollectorClient::Waiting() const { return !queue_.empty(); }

bool CollectorClient::Reachable() const { return reachable_; }

std::vector<std::string> CollectorClient::TakeRefusals() {
    std::vector<std::string> taken;
    taken.swap(refusals_);
    return taken;
}

std::optional<std::pair<std::int32_t, std::int32_t>> CollectorClient::LastCounts() const { return lastCounts_; }

bool CollectorClient::Connect() {
    // A full backlog (EAGAIN) counts as not reached this time.
    fd_ = ConnectUnixSocket(socket_, true);
    if (fd_ < 0) return false;
    inFlight_ = false;
    received_.clear();
    // The service kept the test across its restart: it is taken up again.
    if (attempt_ != 0) queue_.push_front({Kind::Resume, "resume\t" + AttemptIdText(attempt_) + "\n"});
    return true;
}

void CollectorClient::Disconnect() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    inFlight_ = false;
}

bool CollectorClient::SendHead(Clock::time_point deadline) {
    std::string_view rest = queue_.front().line;
    while (!rest.empty()) {
        const ssize_t sent = send(fd_, rest.data(), rest.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            rest.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd writable{fd_, POLLOUT, 0};
            if (poll(&writable, 1, Remaining(deadline)) > 0) continue;
        }
        // Part of a line may be out: only a new connection starts clean.
        Disconnect();
        return false;
    }
    inFlight_ = true;
    return true;
}

std::optional<std::string> CollectorClient::ReadReply(Clock::time_point deadline) {
    for (;;) {
        const std::size_t end = received_.find('\n');
        if (end != std::string::npos) {
            std::string reply = received_.substr(0, end);
            received_.erase(0, end + 1);
            return reply;
        }
        pollfd readable{fd_, POLLIN, 0};
        const int ready = poll(&readable, 1, Remaining(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        char buffer[512];
        const ssize_t got = recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) {
            Disconnect();
            return std::nullopt;
        }
        received_.append(buffer, static_cast<std::size_t>(got));
    }
}

void CollectorClient::TakeReply(const std::string& reply) {
    const Event event = std::move(queue_.front());
    queue_.pop_front();
    inFlight_ = false;
    const auto parts = [&reply] {
        std::vector<std::string_view> fields;
        std::string_view rest = reply;
        for (;;) {
            const std::size_t tab = rest.find('\t');
            fields.push_back(rest.substr(0, tab));
            if (tab == std::string_view::npos) return fields;
            rest.remove_prefix(tab + 1);
        }
    }();
    if (parts[0] == "ok") {
        if (event.kind == Kind::Register) {
            attempt_ = 0;
            if (parts.size() == 2) {
                std::from_chars(parts[1].data(), parts[1].data() + parts[1].size(), attempt_, 16);
            }
        }
        if (parts.size() == 3) {
            // The counts come with the last answer and with the end.
            std::int32_t right = 0;
            std::int32_t asked = 0;
            std::from_chars(parts[1].data(), parts[1].data() + parts[1].size(), right);
            std::from_chars(parts[2].data(), parts[2].data() + parts[2].size(), asked);
            lastCounts_.emplace(right, asked);
            attempt_ = 0;
        }
        if (event.kind == Kind::End) attempt_ = 0;
        return;
    }
    const std::string_view reason = parts.size() > 1 ? parts[1] : std::string_view("без причины");
    // The end that follows a last answer finds the test ended already, when
    // a reconnect came between them: nothing was lost.
    if (event.kind == Kind::End && attempt_ == 0 && lastCounts_ && !dropping_) return;
    refusals_.push_back(std::string(KindName(static_cast<int>(event.kind))) + ": " + std::string(reason));
    if (event.kind == Kind::Register || event.kind == Kind::Resume) {
        dropping_ = true;
        attempt_ = 0;
    }
}

bool CollectorClient::Pump(std::chrono::milliseconds patience) {
    const Clock::time_point deadline = Clock::now() + patience;
    bool connectedNow = false;
    while (!queue_.empty()) {
        if (!inFlight_) {
            // The events of a refused test go unsent, up to the next
            // registration.
            if (queue_.front().kind == Kind::Register) dropping_ = false;
            if (dropping_ && queue_.front().kind != Kind::Resume) {
                queue_.pop_front();
                continue;
            }
        }
        if (fd_ < 0) {
            // One new connection per call: a service that drops it at once
            // is not hammered.
            if (connectedNow || !Connect()) {
                reachable_ = false;
                return false;
            }
            connectedNow = true;
        }
        if (!inFlight_ && !SendHead(deadline)) continue;
        const std::optional<std::string> reply = ReadReply(deadline);
        if (!reply) {
            if (fd_ >= 0) {
                reachable_ = false;
                return false;  // still in flight: its reply is read later
            }
            continue;
        }
        reachable_ = true;
        TakeReply(*reply);
    }
    return true;
}

}  // namespace resultslog
