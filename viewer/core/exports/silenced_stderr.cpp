#include "viewer/core/exports/silenced_stderr.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace viewer {

SilencedStandardError::SilencedStandardError() {
    std::fflush(stderr);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0) return;
    saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (saved_ >= 0) ::dup2(null, STDERR_FILENO);
    ::close(null);
}

SilencedStandardError::~SilencedStandardError() {
    if (saved_ < 0) return;
    // errno stays as the silenced work left it, for its caller to report.
    const int error = errno;
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
    errno = error;
}

}  // namespace viewer
