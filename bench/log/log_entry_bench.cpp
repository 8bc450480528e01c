// Cost of one complete results-log entry (header, result, close with locked
// append and sync) against a plain write() + fsync() of the same bytes.
// Usage: log_entry_bench [directory] [entries]
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "log/cp1251.h"
#include "log/results_log.h"

namespace {

using Clock = std::chrono::steady_clock;

double Microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Mean(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values) sum += v;
    return sum / static_cast<double>(values.size());
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path directory = argc > 1 ? argv[1] : ".";
    const int entries = argc > 2 ? std::atoi(argv[2]) : 300;
    if (entries < 1) {
        std::fprintf(stderr, "usage: log_entry_bench [directory] [entries]\n");
        return 2;
    }
    const auto logPath = directory / "bench-Results.txt";
    const auto plainPath = directory / "bench-plain.txt";
    std::filesystem::remove(logPath);
    std::filesystem::remove(plainPath);

    const char* name = "Иванов Иван Иванович";
    const char* platoon = "101";
    const std::string bytes = resultslog::Utf8ToCp1251(std::string(name) + "\r\n" + platoon +
                                                       "\r\nПравильных ответов 7 из 10\r\n\r\n");

    std::vector<double> logTimes;
    std::vector<double> plainTimes;
    resultslog::ResultsLog log(logPath);
    auto timeLogEntry = [&] {
        log.Open();
        const auto start = Clock::now();
        log.WriteStudentHeader(name, platoon);
        log.WriteTestResult(7, 10);
        log.Close();
        logTimes.push_back(Microseconds(Clock::now() - start));
    };
    auto timePlainEntry = [&] {
        const int fd = open(plainPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return false;
        const auto start = Clock::now();
        const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
        const bool synced = fsync(fd) == 0;
        close(fd);
        plainTimes.push_back(Microseconds(Clock::now() - start));
        return written && synced;
    };
    // Alternate the two, each going first half of the time, so that both
    // see the same state of the disk.
    for (int i = 0; i < entries; ++i) {
        if (i % 2 == 0) timeLogEntry();
        if (!timePlainEntry()) {
            std::perror("plain append");
            return 1;
        }
        if (i % 2 == 1) timeLogEntry();
    }
    const bool healthy = log.Healthy();
    const bool same = std::filesystem::file_size(logPath) == std::filesystem::file_size(plainPath);
    std::filesystem::remove(logPath);
    std::filesystem::remove(plainPath);
    if (!healthy || !same) {
        std::fprintf(stderr, "the results log did not write every entry\n");
        return 1;
    }

    std::printf("entries: %d of %zu bytes in %s\n", entries, bytes.size(), directory.c_str());
    std::printf("results log entry (header, result, close):  median %8.1f us  mean %8.1f us\n", Median(logTimes),
                Mean(logTimes));
    std::printf("plain write() + fsync() + close():          median %8.1f us  mean %8.1f us\n", Median(plainTimes),
                Mean(plainTimes));
    std::printf("ratio (median): %.3f  ratio (mean): %.3f\n", Median(logTimes) / Median(plainTimes),
                Mean(logTimes) / Mean(plainTimes));
    return 0;
}
