// Loading and live growth of a results log in the viewer, against a plain
// loop that reads the same bytes and only splits them into lines.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "generated_entries.h"
#include "viewer/model/results_filter.h"
#include "viewer/model/results_model.h"
#include "viewer/window/results_window.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::MillisecondsSince;
using benchdata::Entries;

void Append(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

// The table as the window builds it: model, filter, sortable view in the
// order written.
struct Table {
    viewer::ResultsModel model;
    viewer::ResultsFilter filter{&model};
    QTableView view;

    Table() {
        view.setModel(&filter);
        view.setSortingEnabled(true);
        view.sortByColumn(-1, Qt::AscendingOrder);
    }
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    const std::filesystem::path path = folder / "bench-Results.txt";
    constexpr int kEntries = 100000;
    constexpr int kRuns = 7;
    { std::ofstream(path, std::ios::binary | std::ios::trunc) << Entries(kEntries, 1); }
    std::printf("log: %d entries, %.1f MB\n", kEntries, std::filesystem::file_size(path) / 1e6);

    std::vector<double> plain;
    std::vector<double> load;
    std::vector<double> readOnly;
    std::vector<double> window;
    std::size_t lines = 0;
    int rows = 0;
    for (int run = 0; run < kRuns; ++run) {
        auto start = Clock::now();
        lines = bench::PlainLineSplit(path);
        plain.push_back(MillisecondsSince(start));

        start = Clock::now();
        viewer::LogFile file(path);
        file.Refresh();
        readOnly.push_back(MillisecondsSince(start));

        start = Clock::now();
        Table table;
        table.model.AddFile(QString::fromStdString(path.string()));
        rows = table.filter.rowCount();
        load.push_back(MillisecondsSince(start));

        start = Clock::now();
        viewer::ResultsWindow shown;
        shown.AddFiles({QString::fromStdString(path.string())});
        window.push_back(MillisecondsSince(start));
    }
    std::printf("plain split: %zu lines, median %.1f ms\n", lines, Median(plain));
    std::printf("reader alone: median %.1f ms\n", Median(readOnly));
    std::printf("table load (model, filter, view): %d rows, median %.1f ms (%.2f x plain)\n", rows, Median(load),
                Median(load) / Median(plain));

    std::printf("whole window load: median %.1f ms (%.2f x plain)\n", Median(window), Median(window) / Median(plain));

    // The live table goes before the search below, so one viewer at a time
    // follows the file.
    {
        Table table;
        viewer::ResultsModel& model = table.model;
        viewer::ResultsFilter& filter = table.filter;
        table.view.resize(1000, 600);
        table.view.show();
        model.AddFile(QString::fromStdString(path.string()));
        QApplication::processEvents();

        // A thousand entries at once, taken in by one refresh.
        const std::string thousand = Entries(1000, 2);
        Append(path, thousand);
        auto start = Clock::now();
        model.Refresh();
        std::printf("1,000 appended entries: %.1f ms to take in (%d rows now)\n", MillisecondsSince(start),
                    filter.rowCount());

        // One entry at a time, from the write until the row is in the table,
        // through the file watcher and the event loop as in the window.
        std::vector<double> latency;
        for (int i = 0; i < 20; ++i) {
            const int before = filter.rowCount();
            const std::string one = Entries(1, 100 + i);
            start = Clock::now();
            Append(path, one);
            QElapsedTimer limit;
            limit.start();
            while (filter.rowCount() == before && limit.elapsed() < 2000) {
                QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            }
            latency.push_back(MillisecondsSince(start));
        }
        std::printf("one appended entry shown: median %.1f ms, worst %.1f ms\n", Median(latency),
                    *std::max_element(latency.begin(), latency.end()));
    }

    // Typing a name into the search field of the window showing the whole
    // log: each keystroke until the table has settled.
    {
        viewer::ResultsWindow shown;
        shown.resize(1100, 720);
        shown.show();
        shown.AddFiles({QString::fromStdString(path.string())});
        QApplication::processEvents();
        auto* search = shown.findChild<QLineEdit*>();
        auto start = Clock::now();
        std::vector<double> keystrokes;
        for (int round = 0; round < 3; ++round) {
            QString typed;
            for (const QChar letter : QStringLiteral("Кузнецов")) {
                typed += letter;
                start = Clock::now();
                search->setText(typed);
                QApplication::processEvents();
                keystrokes.push_back(MillisecondsSince(start));
            }
            start = Clock::now();
            search->clear();
            QApplication::processEvents();
            keystrokes.push_back(MillisecondsSince(start));
        }
        if (std::getenv("KALVENA_BENCH_EACH")) {
            for (const double ms : keystrokes) std::printf("%.0f ", ms);
            std::printf("\n");
        }
        std::printf("search keystroke on %d rows: median %.1f ms, worst %.1f ms (%d rows shown for the name)\n",
                    shown.Filter().sourceModel()->rowCount(), Median(keystrokes),
                    *std::max_element(keystrokes.begin(), keystrokes.end()), shown.Table().model()->rowCount());
    }
    std::filesystem::remove(path);
    return 0;
}
