#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace testsupport {

// Fails the running test at once when the guarded code has not finished in
// time: a loop of the product that never ends cannot be interrupted, so the
// test process reports it and exits instead of hanging until the test
// runner's own time-out.
class Deadline {
public:
    Deadline(std::chrono::seconds limit, std::string what);
    ~Deadline();
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::thread watcher_;
};

}  // namespace testsupport
