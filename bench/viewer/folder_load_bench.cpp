// A department's folder tree in the viewer: 40 computers' folders of 1,000
// entries each opened at once, and a computer's folder appearing while open.
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "generated_entries.h"
#include "viewer/window/results_window.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::MillisecondsSince;

constexpr int kComputers = 40;
constexpr int kEntriesEach = 1000;

void WriteLog(const std::filesystem::path& folder, int seed) {
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "Results.txt", std::ios::binary | std::ios::trunc) << benchdata::Entries(kEntriesEach, seed);
}

std::filesystem::path Computer(const std::filesystem::path& root, int number) {
    char name[16];
    std::snprintf(name, sizeof name, "pc%02d", number);
    return root / name;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::filesystem::path root =
        (argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path()) / "bench-department";
    std::filesystem::remove_all(root);
    for (int i = 1; i <= kComputers; ++i) WriteLog(Computer(root, i), i);
    std::printf("tree: %d folders x %d entries\n", kComputers, kEntriesEach);

    constexpr int kRuns = 7;
    std::vector<double> load;
    int rows = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = Clock::now();
        viewer::ResultsWindow window;
        window.AddFiles({QString::fromStdString(root.string())});
        rows = window.Table().model()->rowCount();
        load.push_back(MillisecondsSince(start));
    }
    std::printf("whole window load of the folder: %d rows, median %.1f ms, worst %.1f ms\n", rows, Median(load),
                *std::max_element(load.begin(), load.end()));

    // New computers' folders while the tree is open: from the log's write
    // until its rows are in the table.
    viewer::ResultsWindow window;
    window.AddFiles({QString::fromStdString(root.string())});
    window.show();
    std::vector<double> shown;
    for (int i = 0; i < 10; ++i) {
        const int before = window.Table().model()->rowCount();
        const auto start = Clock::now();
        WriteLog(Computer(root, kComputers + 1 + i), 100 + i);
        QElapsedTimer limit;
        limit.start();
        while (window.Table().model()->rowCount() == before && limit.elapsed() < 5000) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        shown.push_back(MillisecondsSince(start));
    }
    std::printf("a new computer's folder shown: median %.0f ms, worst %.0f ms\n", Median(shown),
                *std::max_element(shown.begin(), shown.end()));
    std::filesystem::remove_all(root);
    return 0;
}
