#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

#include "tests/support/cp1251_oracle.h"

namespace logtest {

using testsupport::Cp1251;

// Runs the body in a forked child (for process-wide limits or signals);
// true when the child ended normally with no failed expectation.
inline bool RunInChild(const std::function<void()>& body) {
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        body();
        const bool failed = ::testing::Test::HasFailure();
        std::fflush(stdout);
        _exit(failed ? 1 : 0);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace logtest
