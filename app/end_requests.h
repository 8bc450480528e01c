#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace app {

// The system's requests that the program end (on POSIX systems SIGTERM,
// SIGHUP, SIGINT and SIGQUIT: a session that ends, a terminal that closes,
// Ctrl+C; and every other signal that ends a process by default without a
// fault of its own, such as SIGUSR1 or SIGALRM). While an EndRequests object
// lives, such a request reaches the event loop, which calls `onRequest`,
// instead of ending the process on the spot, so the program can close its
// forms and its results log in order. SIGPIPE, which a write to the X
// server's closed connection raises, is ignored from then on: the write
// fails and the program ends in order.
// A request that the process was started to ignore stays ignored.
class EndRequests {
public:
    explicit EndRequests(std::function<void()> onRequest);
    ~EndRequests();
    EndRequests(const EndRequests&) = delete;
    EndRequests& operator=(const EndRequests&) = delete;

    // Once the program has ended in order: ends the process the way the
    // request asked (by its signal, which the exit status then shows).
    // Returns when no request came.
    void EndAsRequested();

private:
    std::function<void()> onRequest_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace app
