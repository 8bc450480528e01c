#include "log/hand_over.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "log/log_entry.h"

extern char** environ;

namespace resultslog {

namespace {

// A socket rather than a pipe: send() with MSG_NOSIGNAL cannot kill the
// program with SIGPIPE when the helper ends early.
bool Send(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

}  // namespace

bool HandOver(const std::filesystem::path& helper, std::string_view kind, std::string_view entry) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string kindArgument(kind);
    char* const arguments[] = {const_cast<char*>("kalvena-append"), const_cast<char*>(kindArgument.c_str()), nullptr};
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, helper.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    bool sent = false;
    if (spawned == 0) {
        sent = Send(ends[0], entry);
        shutdown(ends[0], SHUT_WR);  // the end of the entry
    }
    close(ends[0]);
    if (spawned != 0) return false;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return sent && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string_view> SplitEntries(std::string_view kind, std::string_view bytes) {
    std::vector<std::string_view> entries;
    const bool log = kind == "log";
    const std::string_view lineEnd = log ? kLineEnd : std::string_view("\n");
    std::size_t start = 0;
    while (start < bytes.size()) {
        // Every log entry is two lines: name and platoon, or the result
        // and the empty line after it.
        const std::size_t first = bytes.find(lineEnd, start);
        if (first == std::string_view::npos) break;
        std::size_t end = first + lineEnd.size();
        if (log) {
            const std::size_t second = bytes.find(lineEnd, end);
            if (second == std::string_view::npos) break;
            end = second + lineEnd.size();
        }
        entries.push_back(bytes.substr(start, end - start));
        start = end;
    }
    return entries;
}

}  // namespace resultslog
