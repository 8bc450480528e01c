#include "tests/collector/service_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "content/question_bank.h"
#include "content/question_names.h"
#include "engine/theme_table.h"
#include "log/cp1251.h"
#include "log/unix_socket.h"
#include "tests/support/temp_dir.h"
#include "tests/support/walk_orders.h"

namespace collectortest {

namespace {

int ConnectTo(const std::filesystem::path& socket) { return resultslog::ConnectUnixSocket(socket, false); }

}  // namespace

ServiceProcess::ServiceProcess(std::filesystem::path root, std::vector<std::string> options, std::string resultsFolder)
    : root_(std::move(root)), options_(std::move(options)) {
    std::filesystem::create_directories(root_ / "state");
    if (resultsFolder.empty()) resultsFolder = (root_ / "results").native();
    std::ofstream(root_ / "kalvena.conf") << "results_folder = " << resultsFolder << "\n";
}

ServiceProcess::~ServiceProcess() { Stop(); }

void ServiceProcess::Start() {
    std::vector<std::string> arguments{
        KALVENA_COLLECTOR, "--socket",      Socket().native(), "--settings", (root_ / "kalvena.conf").native(),
        "--state",         State().native()};
    arguments.insert(arguments.end(), options_.begin(), options_.end());
    std::filesystem::remove(Socket());
    pid_ = fork();
    if (pid_ == 0) {
        const int errors = open((root_ / "errors.txt").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        dup2(errors, STDERR_FILENO);
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    for (int i = 0; i < 500; ++i) {
        const int fd = ConnectTo(Socket());
        if (fd >= 0) {
            close(fd);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds{10});
    }
    throw std::runtime_error("kalvena-collector did not start");
}

void ServiceProcess::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

void ServiceProcess::KillHard() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

std::string ServiceProcess::Errors() const { return testsupport::ReadFileBytes(root_ / "errors.txt"); }

Speaker::Speaker(const std::filesystem::path& socket) : fd_(ConnectTo(socket)) {}

Speaker::~Speaker() { Close(); }

void Speaker::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

void Speaker::SendBytes(std::string_view bytes) {
    while (fd_ >= 0 && !bytes.empty()) {
        const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
}

std::string Speaker::Ask(std::string_view line) {
    SendBytes(std::string(line) + "\n");
    for (;;) {
        const std::size_t end = received_.find('\n');
        if (end != std::string::npos) {
            std::string reply = received_.substr(0, end);
            received_.erase(0, end + 1);
            return reply;
        }
        if (fd_ < 0) return {};
        timeval wait{5, 0};
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        char buffer[512];
        const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
        if (got <= 0) return {};
        received_.append(buffer, static_cast<std::size_t>(got));
    }
}

bool Speaker::Dropped(std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    while (std::chrono::steady_clock::now() < deadline) {
        timeval wait{0, 20000};
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        char buffer[512];
        const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
        if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) return true;
        if (got > 0) received_.append(buffer, static_cast<std::size_t>(got));
    }
    return false;
}

std::vector<std::string> WalkQuestions(int theme, int first) {
    const engine::ThemeRow& row = engine::Theme(theme);
    std::vector<std::string> names;
    for (const int number : testsupport::WalkOrderOf(row.BankSize, row.QuestionsToAsk, first))
        names.push_back(content::WindowClassName({theme, number}));
    return names;
}

std::string Header(std::string_view name, std::string_view platoon) {
    return resultslog::Utf8ToCp1251(name) + "\r\n" + resultslog::Utf8ToCp1251(platoon) + "\r\n";
}

int RightPosition(std::string_view question) {
    return content::Question(*content::ParseWindowClassName(question)).right;
}

int WrongPosition(std::string_view question) { return RightPosition(question) % 4 + 1; }

std::string BytesOnceThere(const std::filesystem::path& file, const std::string& expected) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds{5};
    std::string bytes = testsupport::ReadFileBytes(file);
    while (bytes != expected && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds{5});
        bytes = testsupport::ReadFileBytes(file);
    }
    return bytes;
}

std::vector<std::string> LinesOnceThere(const std::filesystem::path& file, std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds{5};
    std::vector<std::string> lines = Lines(file);
    while (lines.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds{5});
        lines = Lines(file);
    }
    return lines;
}

std::vector<std::string> Lines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    std::istringstream in(testsupport::ReadFileBytes(file));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    return fields;
}

}  // namespace collectortest
