#pragma once

#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace logtest {

// Windows-1251 bytes of UTF-8 text as glibc converts them, independent of
// the converter under test.
inline std::string Cp1251(std::string_view utf8) {
    iconv_t converter = iconv_open("CP1251", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP1251 in iconv");
    std::string in(utf8);
    std::string out(in.size(), '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1)) throw std::runtime_error("text not in CP1251");
    out.resize(out.size() - outLeft);
    return out;
}

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
