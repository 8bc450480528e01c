#include "app/end_requests.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>

namespace app {

namespace {

// Every signal whose default is to end the process and that does not mean
// the process is broken: each ends the program in order.
constexpr std::array kEndSignals{SIGTERM, SIGHUP,    SIGINT,  SIGQUIT, SIGUSR1, SIGUSR2,
                                 SIGALRM, SIGVTALRM, SIGPROF, SIGXCPU, SIGPWR,  SIGIO};
// A write to a connection that the other side has closed (the X server's, at
// a logout) or past the file size limit fails as such, and the program goes
// on to end in order, instead of being killed by the signal on the spot.
constexpr std::array kIgnoredSignals{SIGPIPE, SIGXFSZ};

// The handler only notes the signal and wakes the event loop through a
// pipe: everything else waits for the loop, where any work is safe.
volatile std::sig_atomic_t requestedSignal = 0;
std::array<int, 2> wakePipe{-1, -1};
std::array<struct sigaction, kEndSignals.size()> previousActions{};
std::array<bool, kEndSignals.size()> handled{};

void OnEndSignal(int signal) {
    const int savedErrno = errno;
    requestedSignal = signal;
    const char wake = 1;
    [[maybe_unused]] const ssize_t ignored = write(wakePipe[1], &wake, 1);
    errno = savedErrno;
}

bool MakePipe() {
    if (pipe(wakePipe.data()) != 0) return false;
    for (const int fd : wakePipe) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, O_NONBLOCK);
    }
    return true;
}

}  // namespace

EndRequests::EndRequests(std::function<void()> onRequest) : onRequest_(std::move(onRequest)) {
    requestedSignal = 0;
    for (const int signal : kIgnoredSignals) std::signal(signal, SIG_IGN);
    if (!MakePipe()) return;
    notifier_ = std::make_unique<QSocketNotifier>(wakePipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        char drained[16];
        while (read(wakePipe[0], drained, sizeof drained) > 0) {
        }
        onRequest_();
    });
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigfillset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kEndSignals.size(); ++i) {
        sigaction(kEndSignals[i], nullptr, &previousActions[i]);
        handled[i] = previousActions[i].sa_handler != SIG_IGN;
        if (handled[i]) sigaction(kEndSignals[i], &action, nullptr);
    }
}

EndRequests::~EndRequests() {
    for (std::size_t i = 0; i < kEndSignals.size(); ++i) {
        if (handled[i]) sigaction(kEndSignals[i], &previousActions[i], nullptr);
        handled[i] = false;
    }
    notifier_.reset();
    for (int& fd : wakePipe) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

void EndRequests::EndAsRequested() {
    const int signal = requestedSignal;
    if (signal == 0) return;
    std::fflush(nullptr);
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigaction(signal, &action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
}

}  // namespace app
