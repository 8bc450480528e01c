// Cost of one complete results-log entry (open, header, result, close with
// locked append and sync) against open() + write() + fsync() + close() of
// the same bytes, in each directory given (a tmpfs and a disk by default).
// Usage: log_entry_bench [entries] [directory ...]
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "log/cp1251.h"
#include "log/results_log.h"

namespace {

using bench::Clock;
using bench::Median;

const char* const kName = "Иванов Иван Иванович";
const char* const kPlatoon = "101";

double Microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

struct Medians {
    double log;
    double plain;
};

// Alternates the two, each going first half of the time, so that both see
// the same state of the file system.
bool Measure(const std::filesystem::path& directory, int entries, Medians& medians) {
    const auto logPath = directory / "bench-Results.txt";
    const auto plainPath = directory / "bench-plain.txt";
    std::filesystem::remove(logPath);
    std::filesystem::remove(plainPath);
    const std::string bytes =
        resultslog::Utf8ToCp1251(std::string(kName) + "\r\n" + kPlatoon + "\r\nПравильных ответов 7 из 10\r\n\r\n");
    std::vector<double> logTimes;
    std::vector<double> plainTimes;
    resultslog::ResultsLog log(logPath);
    auto timeLogEntry = [&] {
        const auto start = Clock::now();
        log.Open();
        log.WriteStudentHeader(kName, kPlatoon);
        log.WriteTestResult(7, 10);
        log.Close();
        logTimes.push_back(Microseconds(Clock::now() - start));
    };
    auto timePlainEntry = [&] {
        const auto start = Clock::now();
        const int fd = open(plainPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return false;
        const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        const bool synced = fsync(fd) == 0;
        close(fd);
        plainTimes.push_back(Microseconds(Clock::now() - start));
        return written && synced;
    };
    bool plainOk = true;
    for (int i = 0; i < entries && plainOk; ++i) {
        if (i % 2 == 0) timeLogEntry();
        plainOk = timePlainEntry();
        if (i % 2 == 1) timeLogEntry();
    }
    const bool complete =
        plainOk && log.Healthy() && std::filesystem::file_size(logPath) == std::filesystem::file_size(plainPath);
    std::filesystem::remove(logPath);
    std::filesystem::remove(plainPath);
    if (!complete) return false;
    medians = {Median(logTimes), Median(plainTimes)};
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int entries = argc > 1 ? std::atoi(argv[1]) : 300;
    std::vector<std::filesystem::path> directories(argv + std::min(argc, 2), argv + argc);
    if (directories.empty()) directories = {"/dev/shm", "."};
    if (entries < 1) {
        std::fprintf(stderr, "usage: log_entry_bench [entries] [directory ...]\n");
        return 2;
    }
    std::printf("%d entries of one registration and one result each; medians in microseconds\n", entries);
    std::printf("%-28s %12s %14s %10s %8s\n", "directory", "results log", "plain append", "extra", "ratio");
    for (const auto& directory : directories) {
        Medians medians{};
        if (!Measure(directory, entries, medians)) {
            std::fprintf(stderr, "%s: the entries were not all written\n", directory.c_str());
            return 1;
        }
        std::printf("%-28s %12.1f %14.1f %10.1f %8.3f\n", directory.c_str(), medians.log, medians.plain,
                    medians.log - medians.plain, medians.log / medians.plain);
    }
    return 0;
}
