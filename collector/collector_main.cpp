// kalvena-collector: the service that writes protected results. The test
// program of each student sends it a test attempt as it happens; the
// service checks it, scores it from the bank's keys and appends it to the
// results folder, which students cannot open. Started by systemd's socket
// unit (the listening socket comes as descriptor 3), or with --socket.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "collector/service.h"

namespace {

std::atomic<bool> stopRequested{false};

void RequestStop(int) { stopRequested = true; }

int Usage() {
    std::fputs(
        "usage: kalvena-collector [--socket PATH] [--settings FILE] [--state DIR]\n"
        "                         [--resume-wait SECONDS] [--idle-limit SECONDS]\n"
        "                         [--registrations-per-minute N]\n",
        stderr);
    return 2;
}

// The socket systemd passes, when it passes one.
int SocketFromSystemd() {
    const char* pid = std::getenv("LISTEN_PID");
    const char* fds = std::getenv("LISTEN_FDS");
    if (pid == nullptr || fds == nullptr || std::atol(pid) != static_cast<long>(getpid())) return -1;
    if (std::atoi(fds) != 1) {
        std::fputs("kalvena-collector: systemd passed other than one socket\n", stderr);
        return -1;
    }
    unsetenv("LISTEN_PID");
    unsetenv("LISTEN_FDS");
    unsetenv("LISTEN_FDNAMES");
    constexpr int kFirstPassedFd = 3;
    fcntl(kFirstPassedFd, F_SETFD, FD_CLOEXEC);
    return kFirstPassedFd;
}

int BindSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        std::fprintf(stderr, "kalvena-collector: socket path too long: %s\n", path.c_str());
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    struct stat status {};
    if (lstat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode)) unlink(path.c_str());
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || chmod(path.c_str(), 0666) != 0 ||
        listen(fd, SOMAXCONN) != 0) {
        std::fprintf(stderr, "kalvena-collector: cannot listen on %s: %s\n", path.c_str(), std::strerror(errno));
        close(fd);
        return -1;
    }
    return fd;
}

std::string HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) return "localhost";
    return name;
}

}  // namespace

int main(int argc, char** argv) {
    collector::ServiceConfig config;
    config.computer = HostName();
    config.version = KALVENA_VERSION;
    std::string socketPath;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc) return Usage();
        const char* value = argv[++i];
        if (option == "--socket") {
            socketPath = value;
        } else if (option == "--settings") {
            config.settingsFile = value;
        } else if (option == "--state") {
            config.stateFolder = value;
        } else if (option == "--resume-wait") {
            config.limits.resumeWait = std::chrono::seconds{std::atol(value)};
        } else if (option == "--registrations-per-minute") {
            config.limits.registrationsPerMinute = std::atoi(value);
        } else if (option == "--idle-limit") {
            config.limits.idleLimit = std::chrono::seconds{std::atol(value)};
        } else {
            return Usage();
        }
    }
    // Nothing the service makes is for other accounts than its group's.
    umask(S_IRWXO | S_IWGRP);
    std::signal(SIGPIPE, SIG_IGN);
    struct sigaction stop {};
    stop.sa_handler = RequestStop;
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGINT, &stop, nullptr);

    const int listenFd = socketPath.empty() ? SocketFromSystemd() : BindSocket(socketPath);
    if (listenFd < 0) {
        if (socketPath.empty()) std::fputs("kalvena-collector: no socket from systemd and no --socket\n", stderr);
        return 1;
    }
    fcntl(listenFd, F_SETFL, fcntl(listenFd, F_GETFL) | O_NONBLOCK);
    if (mkdir(config.stateFolder.c_str(), 0700) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "kalvena-collector: cannot make %s: %s\n", config.stateFolder.c_str(),
                     std::strerror(errno));
        return 1;
    }
    collector::Service service(config, listenFd);
    service.LoadKept();
    service.Run(stopRequested);
    return 0;
}
