// How long the window takes to show the «Вопросы» tab's values for 100,000
// attempts, and how much memory it needs, against the command line's
// --items on the same files: each a program of its own, started in turn.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTabWidget>
#include <QTableWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "bench/items/generated_record.h"
#include "viewer/core/analysis/item_table.h"
#include "viewer/window/items_panel.h"
#include "viewer/window/results_window.h"

namespace {

std::int64_t MonotonicNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(bench::Clock::now().time_since_epoch()).count();
}

// The window's part: opens the log, turns to «Вопросы», and reports the
// milliseconds since `started` once a question's facility is on screen.
int RunWindow(int argc, char** argv, const std::string& log, std::int64_t started) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    viewer::ResultsWindow window;
    window.resize(1024, 768);
    window.show();
    window.AddFiles({QString::fromStdString(log)});
    window.Tabs().setCurrentWidget(&window.Items());
    QTableWidget& table = window.Items().Table();
    const auto shown = [&] {
        for (int row = 0; row < table.rowCount(); ++row) {
            const QTableWidgetItem* item = table.item(row, static_cast<int>(viewer::ItemColumn::Facility));
            if (item != nullptr && !item->text().isEmpty()) return true;
        }
        return false;
    };
    while (!shown()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    // Painted, without running the timers of later work (the summary, the
    // comparison with what was seen).
    table.viewport()->repaint();
    std::printf("%.1f\n", static_cast<double>(MonotonicNanoseconds() - started) / 1e6);
    std::fflush(stdout);
    std::_Exit(0);  // the measure is taken; tearing 100,000 rows down is not part of it
}

struct Run {
    double milliseconds = 0;
    double megabytes = 0;
};

// Starts a program, waits for it, and takes its wall time (or the time it
// reports itself) and its peak memory.
Run Measure(const std::vector<std::string>& arguments, bool reportsItself) {
    const std::int64_t started = MonotonicNanoseconds();
    int pipe[2];
    if (::pipe(pipe) != 0) std::abort();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipe[1], 1);
        ::close(pipe[0]);
        std::vector<std::string> withStart = arguments;
        if (reportsItself) withStart.push_back(std::to_string(started));
        std::vector<char*> argv;
        for (std::string& argument : withStart) argv.push_back(argument.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        std::_Exit(127);
    }
    ::close(pipe[1]);
    std::string output;
    char buffer[65536];
    for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipe[0]);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    Run run;
    run.milliseconds = reportsItself
                           ? std::atof(output.c_str())
                           : bench::MillisecondsSince(bench::Clock::time_point(std::chrono::nanoseconds(started)));
    run.megabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--window") return RunWindow(1, argv, argv[2], std::atoll(argv[3]));

    const std::filesystem::path folder =
        (argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path()) / "items_window_bench";
    std::filesystem::create_directories(folder);
    const std::filesystem::path log = folder / "Results.txt";
    const int kAttempts = 100000;
    {
        const benchdata::Generated generated = benchdata::Record(kAttempts, 20261208);
        std::ofstream(log, std::ios::binary | std::ios::trunc) << generated.log;
        std::ofstream(folder / "Results.answers.csv", std::ios::binary | std::ios::trunc) << generated.answers;
    }
    // Only the files, for a profiler: "--files-only FOLDER".
    if (argc > 2 && std::string(argv[2]) == "--files-only") return 0;
    const std::string self = std::filesystem::canonical("/proc/self/exe").string();
    std::vector<double> lineTimes, windowTimes, lineMemory, windowMemory;
    for (int round = 0; round < 5; ++round) {
        const Run line = Measure({KALVENA_RESULTS_PROGRAM, "--items", log.string()}, false);
        const Run window = Measure({self, "--window", log.string()}, true);
        lineTimes.push_back(line.milliseconds);
        lineMemory.push_back(line.megabytes);
        windowTimes.push_back(window.milliseconds);
        windowMemory.push_back(window.megabytes);
        std::printf("round %d: --items %.0f ms %.0f MB; window %.0f ms %.0f MB\n", round + 1, line.milliseconds,
                    line.megabytes, window.milliseconds, window.megabytes);
    }
    const double time = bench::Median(windowTimes) / bench::Median(lineTimes);
    const double memory = bench::Median(windowMemory) / bench::Median(lineMemory);
    std::printf("--items:  %7.0f ms  %5.0f MB (medians of 5)\n", bench::Median(lineTimes), bench::Median(lineMemory));
    std::printf("window:   %7.0f ms  %5.0f MB\n", bench::Median(windowTimes), bench::Median(windowMemory));
    std::printf("window / --items: time %.2f x, memory %.2f x (target: at most 2 x each)\n", time, memory);
    std::filesystem::remove_all(folder);
    return 0;
}
