#include "tests/support/deadline.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace testsupport {

namespace {

std::string CurrentTestName() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (test == nullptr) return "(outside a test)";
    return std::string(test->test_suite_name()) + "." + test->name();
}

}  // namespace

Deadline::Deadline(std::chrono::seconds limit, std::string what) {
    watcher_ = std::thread([this, limit, what = std::move(what), test = CurrentTestName()] {
        std::unique_lock lock(mutex_);
        if (finished_.wait_for(lock, limit, [this] { return done_; })) return;
        std::fprintf(stderr, "[  FAILED  ] %s: %s did not finish within %lld s\n", test.c_str(), what.c_str(),
                     static_cast<long long>(limit.count()));
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    });
}

Deadline::~Deadline() {
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
    }
    finished_.notify_one();
    watcher_.join();
}

}  // namespace testsupport
