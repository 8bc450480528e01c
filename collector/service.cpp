#include "collector/service.h"

#include <poll.h>
#include <pwd.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sstream>

#include "collector/file_write.h"
#include "content/question_bank.h"
#include "facts/registration_limits.h"
#include "facts/results_files.h"
#include "log/answers_record.h"
#include "log/log_entry.h"
#include "log/log_field.h"
#include "settings/results_folder.h"
#include "settings/settings_file.h"

namespace collector {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::size_t kReadChunk = 4096;
constexpr int kAcceptsPerRound = 16;
constexpr int kRefusalsLoggedPerMinute = 30;

std::uint64_t NewAttemptId() {
    std::uint64_t id = 0;
    while (id == 0) {
        if (getrandom(&id, sizeof id, 0) != static_cast<ssize_t>(sizeof id)) id = 0;
    }
    return id;
}

std::int64_t FileSize(const std::filesystem::path& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? static_cast<std::int64_t>(status.st_size) : 0;
}

int MillisecondsUntil(Clock::time_point when, Clock::time_point now) {
    if (when <= now) return 0;
    return static_cast<int>(std::chrono::duration_cast<milliseconds>(when - now).count()) + 1;
}

}  // namespace

std::string AccountName(uid_t uid) {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_name != nullptr && found->pw_name[0] != '\0')
        return found->pw_name;
    return std::to_string(uid);
}

Service::Service(ServiceConfig config, int listenFd)
    : config_(std::move(config)), listenFd_(listenFd), store_(config_.stateFolder) {
    std::ostringstream errors;
    const settings::Settings settings = settings::ReadSettings(config_.settingsFile, errors);
    std::fputs(errors.str().c_str(), stderr);
    if (settings.resultsFolder.empty())
        std::fprintf(stderr, "kalvena-collector: no results_folder in %s: every registration is refused\n",
                     config_.settingsFile.c_str());
}

Service::~Service() {
    for (const auto& connection : connections_) {
        if (connection->fd >= 0) close(connection->fd);
    }
}

std::int64_t Service::NowMs() const {
    return std::chrono::duration_cast<milliseconds>(Clock::now().time_since_epoch()).count();
}

void Service::LoadKept() {
    const auto now = Clock::now();
    for (Attempt& attempt : store_.LoadAll()) {
        // Another boot's clock: the next answer counts from now.
        attempt.lastEventMs = std::min(attempt.lastEventMs, NowMs());
        const std::uint64_t id = attempt.fields.attempt;
        if (attempt.ended) writesDue_ = true;
        attempts_[id] = Watched{std::move(attempt), false, now, now};
    }
    WriteAllDue();
}

void Service::Run(const std::atomic<bool>& stop) {
    while (!stop.load()) Step(milliseconds{500});
}

void Service::Step(milliseconds wait) {
    auto now = Clock::now();
    int timeout = static_cast<int>(wait.count());
    std::vector<pollfd> polled;
    polled.push_back({listenFd_, POLLIN, 0});
    std::vector<Connection*> watched;
    for (const auto& connection : connections_) {
        // A connection with a whole message waiting is read no further
        // until that message is acted on.
        const bool whole = connection->buffer.find('\n') != std::string::npos;
        if (whole) timeout = 0;
        if (connection->messageSince)
            timeout = std::min(timeout, MillisecondsUntil(*connection->messageSince + config_.limits.messageTime, now));
        polled.push_back({connection->fd, static_cast<short>(whole ? 0 : POLLIN), 0});
        watched.push_back(connection.get());
    }
    if (writesDue_) timeout = std::min(timeout, MillisecondsUntil(nextWrite_, now));
    if (poll(polled.data(), polled.size(), std::max(timeout, 0)) < 0 && errno != EINTR) return;

    if ((polled[0].revents & POLLIN) != 0) Accept();
    for (std::size_t i = 0; i < watched.size(); ++i) {
        if ((polled[i + 1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) ReadFrom(*watched[i]);
    }
    // One message per connection and round: a flood on one connection waits
    // its turn behind everybody else's messages.
    for (Connection* connection : watched) {
        if (connection->fd >= 0) ActOnOneMessage(*connection);
    }
    now = Clock::now();
    for (Connection* connection : watched) {
        if (connection->fd >= 0 && connection->messageSince &&
            now - *connection->messageSince > config_.limits.messageTime) {
            std::fprintf(stderr, "kalvena-collector: %s: a message did not arrive whole in time, connection dropped\n",
                         connection->account.c_str());
            Drop(*connection);
        }
    }
    std::erase_if(connections_, [](const auto& connection) { return connection->fd < 0; });
    if (writesDue_ && Clock::now() >= nextWrite_) WriteAllDue();
    EndOverdue();
}

void Service::Accept() {
    for (int i = 0; i < kAcceptsPerRound; ++i) {
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) return;
        ucred peer{};
        socklen_t size = sizeof peer;
        if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) {
            close(fd);
            continue;
        }
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        connection->uid = peer.uid;
        connection->account = AccountName(peer.uid);
        AccountUse& use = accounts_[peer.uid];
        if (use.connections >= config_.limits.connectionsPerAccount ||
            static_cast<int>(connections_.size()) >= config_.limits.connections) {
            Refuse(*connection, "too many connections");
            const std::string reply = RefusedReply("too many connections");
            send(fd, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
            close(fd);
            continue;
        }
        ++use.connections;
        connections_.push_back(std::move(connection));
    }
}

void Service::ReadFrom(Connection& connection) {
    char chunk[kReadChunk];
    const ssize_t got = recv(connection.fd, chunk, sizeof chunk, MSG_DONTWAIT);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
    if (got <= 0) {
        // The program is gone: what it sent whole still counts.
        while (connection.fd >= 0 && connection.buffer.find('\n') != std::string::npos) ActOnOneMessage(connection);
        if (connection.fd >= 0) Drop(connection);
        return;
    }
    if (connection.buffer.empty()) connection.messageSince = Clock::now();
    connection.buffer.append(chunk, static_cast<std::size_t>(got));
    const std::size_t lineEnd = connection.buffer.find('\n');
    if ((lineEnd == std::string::npos ? connection.buffer.size() : lineEnd) > kMessageLimit) {
        Send(connection, Refuse(connection, "a message longer than " + std::to_string(kMessageLimit) + " bytes"));
        Drop(connection);
    }
}

void Service::ActOnOneMessage(Connection& connection) {
    const std::size_t lineEnd = connection.buffer.find('\n');
    if (lineEnd == std::string::npos) return;
    const std::string line = connection.buffer.substr(0, lineEnd);
    connection.buffer.erase(0, lineEnd + 1);
    connection.messageSince.reset();
    if (!connection.buffer.empty()) connection.messageSince = Clock::now();
    const Parsed parsed = ParseMessage(line);
    const std::string reply =
        parsed.refusal.empty() ? Act(connection, parsed.message) : Refuse(connection, parsed.refusal);
    if (connection.fd >= 0) Send(connection, reply);
    if (connection.fd >= 0 && connection.refusals > config_.limits.refusalsPerConnection) {
        std::fprintf(stderr, "kalvena-collector: %s: too many refusals, connection dropped\n",
                     connection.account.c_str());
        Drop(connection);
    }
}

std::string Service::Refuse(Connection& connection, const std::string& reason) {
    ++connection.refusals;
    AccountUse& use = accounts_[connection.uid];
    const auto now = Clock::now();
    if (now - use.refusalWindow > std::chrono::minutes{1}) {
        if (use.refusalsLogged > kRefusalsLoggedPerMinute)
            std::fprintf(stderr, "kalvena-collector: %s: %d more refusals not logged\n", connection.account.c_str(),
                         use.refusalsLogged - kRefusalsLoggedPerMinute);
        use.refusalWindow = now;
        use.refusalsLogged = 0;
    }
    if (++use.refusalsLogged <= kRefusalsLoggedPerMinute)
        std::fprintf(stderr, "kalvena-collector: %s: refused: %s\n", connection.account.c_str(), reason.c_str());
    return RefusedReply(reason);
}

std::string Service::Act(Connection& connection, const Message& message) {
    if (const auto* registration = std::get_if<Register>(&message)) return RegisterAttempt(connection, *registration);
    if (const auto* resume = std::get_if<Resume>(&message)) {
        if (connection.attempt != 0) return Refuse(connection, "a test is running on this connection");
        const auto found = attempts_.find(resume->attempt);
        if (found == attempts_.end() || found->second.attempt.ended || found->second.connected ||
            found->second.attempt.uid != connection.uid)
            return Refuse(connection, "no such test to resume");
        found->second.connected = true;
        connection.attempt = resume->attempt;
        connection.endedCounts.reset();
        return OkReply();
    }
    if (const auto* end = std::get_if<End>(&message)) {
        if (connection.endedCounts) {
            const auto counts = *connection.endedCounts;
            connection.endedCounts.reset();
            return OkCountsReply(counts.first, counts.second);
        }
        if (connection.attempt == 0) return Refuse(connection, "no test is running");
        Watched& watched = attempts_.at(connection.attempt);
        if (end->ending == resultslog::Ending::Finished && !Complete(watched.attempt))
            return Refuse(connection, "the test is not over");
        const std::int32_t right = RightCount(watched.attempt);
        const std::int32_t asked = QuestionsAsked(watched.attempt);
        connection.attempt = 0;
        Finish(watched, end->ending);
        return OkCountsReply(right, asked);
    }
    connection.endedCounts.reset();
    if (connection.attempt == 0) return Refuse(connection, "no test is running");
    Watched& watched = attempts_.at(connection.attempt);
    Attempt& attempt = watched.attempt;
    const Attempt before = attempt;
    std::string refusal;
    if (const auto* theme = std::get_if<ThemeChosen>(&message)) {
        refusal = ChooseTheme(attempt, theme->theme, resultslog::LocalTimeText(std::time(nullptr)), NowMs());
    } else if (const auto* answer = std::get_if<AnswerGiven>(&message)) {
        refusal = TakeAnswer(attempt, answer->question, answer->chosen, NowMs());
    }
    if (!refusal.empty()) return Refuse(connection, refusal);
    watched.lastEvent = Clock::now();
    if (Complete(attempt)) {
        const std::int32_t right = RightCount(attempt);
        const std::int32_t asked = QuestionsAsked(attempt);
        connection.attempt = 0;
        connection.endedCounts.emplace(right, asked);
        Finish(watched, resultslog::Ending::Finished);
        return OkCountsReply(right, asked);
    }
    if (!Save(attempt)) {
        attempt = before;
        return Refuse(connection, "the service cannot keep the test's state");
    }
    if (!attempt.writes.empty()) WriteSoon();
    return OkReply();
}

std::string Service::RegisterAttempt(Connection& connection, const Register& message) {
    // The program started over without ending the test it ran.
    if (connection.attempt != 0) {
        Finish(attempts_.at(connection.attempt), resultslog::Ending::Abandoned);
        connection.attempt = 0;
    }
    connection.endedCounts.reset();
    const resultslog::FieldProblem nameProblem = resultslog::CheckLogField(message.fullName, facts::kFullNameLimit);
    if (nameProblem != resultslog::FieldProblem::None)
        return Refuse(connection, resultslog::FieldProblemText(nameProblem, true));
    const resultslog::FieldProblem platoonProblem = resultslog::CheckLogField(message.platoon, facts::kPlatoonLimit);
    if (platoonProblem != resultslog::FieldProblem::None)
        return Refuse(connection, resultslog::FieldProblemText(platoonProblem, false));

    const auto now = Clock::now();
    AccountUse& use = accounts_[connection.uid];
    while (!use.registrations.empty() && now - use.registrations.front() > std::chrono::minutes{1})
        use.registrations.pop_front();
    if (static_cast<int>(use.registrations.size()) >= config_.limits.registrationsPerMinute)
        return Refuse(connection, "too many registrations in a minute");
    if (OpenAttemptsOf(connection.uid) >= config_.limits.openAttemptsPerAccount)
        return Refuse(connection, "too many tests running for this account");

    std::ostringstream ignored;  // reported once at start-up
    const settings::Settings chosen = settings::ReadSettings(config_.settingsFile, ignored);
    if (chosen.resultsFolder.empty())
        return Refuse(connection, "no results_folder in " + config_.settingsFile.native());
    const std::filesystem::path folder =
        settings::ConfiguredFolder(chosen, settings::MachineNames{config_.computer, connection.account});
    if (!settings::MakeSharedFolder(folder)) return Refuse(connection, "cannot make the folder " + folder.native());
    const std::filesystem::path log = settings::LogPathIn(folder);
    for (const std::filesystem::path& file : {log, facts::AnswersRecordPath(log)}) {
        if (FileSize(file) >= config_.limits.fileBytes)
            return Refuse(connection, file.filename().native() + " has reached its size limit of " +
                                          std::to_string(config_.limits.fileBytes / (1024 * 1024)) + " MiB");
    }

    Attempt attempt;
    attempt.fields.computer = config_.computer;
    attempt.fields.version = config_.version;
    attempt.fields.bank = content::BankFingerprint();
    attempt.fields.attempt = NewAttemptId();
    attempt.fields.name = resultslog::LogFieldText(message.fullName);
    attempt.fields.platoon = resultslog::LogFieldText(message.platoon);
    attempt.uid = connection.uid;
    attempt.account = connection.account;
    attempt.logPath = log.native();
    attempt.lastEventMs = NowMs();
    if (!Save(attempt)) return Refuse(connection, "the service cannot keep the test's state");
    use.registrations.push_back(now);
    const std::uint64_t id = attempt.fields.attempt;
    attempts_[id] = Watched{std::move(attempt), true, now, now};
    connection.attempt = id;
    return OkAttemptReply(id);
}

void Service::Send(Connection& connection, const std::string& reply) {
    const ssize_t sent = send(connection.fd, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    // A program that does not read its replies is not waited for.
    if (sent != static_cast<ssize_t>(reply.size())) Drop(connection);
}

void Service::Drop(Connection& connection) {
    if (connection.fd < 0) return;
    if (connection.attempt != 0) {
        Finish(attempts_.at(connection.attempt), resultslog::Ending::Abandoned);
        connection.attempt = 0;
    }
    close(connection.fd);
    connection.fd = -1;
    --accounts_[connection.uid].connections;
}

void Service::Finish(Watched& watched, resultslog::Ending ending) {
    watched.connected = false;
    EndAttempt(watched.attempt, ending, resultslog::LocalTimeText(std::time(nullptr)));
    const std::uint64_t id = watched.attempt.fields.attempt;
    if (!Save(watched.attempt))
        std::fprintf(stderr, "kalvena-collector: cannot keep the end of attempt %s; writing it at once\n",
                     AttemptIdText(id).c_str());
    WriteSoon();
}

void Service::WriteSoon() {
    // After this round's replies: the student waits for the state on disk,
    // not for the results folder.
    writesDue_ = true;
    nextWrite_ = Clock::now();
}

void Service::Write(std::uint64_t id) {
    const auto found = attempts_.find(id);
    if (found == attempts_.end()) return;
    Attempt& attempt = found->second.attempt;
    for (PendingWrite& write : attempt.writes) {
        if (write.done) continue;
        const WriteOutcome outcome = CarryOut(write, [&] { return Save(attempt); });
        if (outcome != WriteOutcome::Done) {
            if (outcome == WriteOutcome::Failed)
                std::fprintf(stderr, "kalvena-collector: cannot append to %s; trying again\n", write.path.c_str());
            writesDue_ = true;
            return;
        }
        // Not noted on disk: after a crash the offset finds the bytes.
    }
    if (attempt.ended) {
        store_.Remove(id);
        attempts_.erase(found);
    }
}

void Service::WriteAllDue() {
    writesDue_ = false;
    std::vector<std::uint64_t> due;
    for (const auto& [id, watched] : attempts_) {
        if (std::any_of(watched.attempt.writes.begin(), watched.attempt.writes.end(),
                        [](const PendingWrite& write) { return !write.done; }) ||
            watched.attempt.ended)
            due.push_back(id);
    }
    for (const std::uint64_t id : due) Write(id);
    nextWrite_ = Clock::now() + config_.limits.writeRetry;
}

void Service::EndOverdue() {
    const auto now = Clock::now();
    std::vector<std::uint64_t> overdue;
    for (const auto& [id, watched] : attempts_) {
        if (watched.attempt.ended) continue;
        if ((!watched.connected && now - watched.waitingSince > config_.limits.resumeWait) ||
            now - watched.lastEvent > config_.limits.idleLimit)
            overdue.push_back(id);
    }
    for (const std::uint64_t id : overdue) {
        for (const auto& connection : connections_) {
            if (connection->attempt == id) connection->attempt = 0;
        }
        std::fprintf(stderr, "kalvena-collector: attempt %s abandoned: no word from its program in time\n",
                     AttemptIdText(id).c_str());
        Finish(attempts_.at(id), resultslog::Ending::Abandoned);
    }
}

bool Service::Save(const Attempt& attempt) {
    if (store_.Save(attempt)) return true;
    std::fprintf(stderr, "kalvena-collector: cannot write the state of attempt %s in %s\n",
                 AttemptIdText(attempt.fields.attempt).c_str(), config_.stateFolder.c_str());
    return false;
}

int Service::OpenAttemptsOf(uid_t uid) const {
    return static_cast<int>(std::count_if(attempts_.begin(), attempts_.end(), [uid](const auto& entry) {
        return !entry.second.attempt.ended && entry.second.attempt.uid == uid;
    }));
}

}  // namespace collector
