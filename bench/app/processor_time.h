#pragma once

#include <sys/types.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Processor time that processes have used, every thread counted, from the
// kernel's scheduler statistics. Unlike the time to a first paint it does
// not grow while other work keeps the processor busy, so it compares two
// ways of showing a window on a loaded machine too.
inline double ProcessorMs(const std::vector<pid_t>& pids) {
    double nanoseconds = 0;
    for (const pid_t pid : pids) {
        std::error_code error;
        const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
        for (std::filesystem::directory_iterator task(tasks, error), end; !error && task != end;
             task.increment(error)) {
            std::ifstream stat(task->path() / "schedstat");
            double onProcessor = 0;
            if (stat >> onProcessor) nanoseconds += onProcessor;
        }
    }
    return nanoseconds / 1e6;
}

// The X server's and the window manager's processes, which work for every
// window shown: bench/app/under_x.sh names them in KALVENA_BENCH_X_PIDS.
inline std::vector<pid_t> DisplayProcesses() {
    std::vector<pid_t> pids;
    const char* listed = std::getenv("KALVENA_BENCH_X_PIDS");
    std::istringstream words(listed != nullptr ? listed : "");
    for (long pid = 0; words >> pid;) pids.push_back(static_cast<pid_t>(pid));
    return pids;
}
