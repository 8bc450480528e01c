#include "log/run_to_completion.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace resultslog {

// Linux stops a write between pages when the writer is being killed, which
// would leave a torn line. So the work runs in a vfork helper: it shares our
// memory and stack while we wait for it, starts with every signal blocked,
// leaves our process group (a kill aimed at the group does not reach it) and
// lives on if this process is killed. Only a kill aimed at the helper itself
// can cut it short.
void RunToCompletion(void (*work)(void*), void* context) {
    // The helper's system calls set errno in the thread-local state it
    // shares with us.
    const int savedErrno = errno;
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t helper = vfork();
    if (helper == 0) {
        setpgid(0, 0);
        work(context);
        _exit(0);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (helper < 0) {
        work(context);
    } else {
        // vfork returns once the helper has ended; this only reaps it.
        while (waitpid(helper, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    errno = savedErrno;
}

}  // namespace resultslog
