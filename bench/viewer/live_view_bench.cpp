// The live view of a class: with 100,000 attempts of a log and its answers
// record loaded in the window, how long from the write of a start line
// until the student's row says the test is being answered.
#include <QApplication>
#include <QDateTime>
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
#include "log/cp1251.h"
#include "viewer/core/analysis/results_table.h"
#include "viewer/window/results_window.h"

namespace {

using bench::Clock;
using bench::MillisecondsSince;

std::string Id(int attempt) {
    char text[17];
    std::snprintf(text, sizeof text, "%016x", attempt);
    return text;
}

std::string Name(int attempt) { return "Студент " + std::to_string(attempt % 3000); }

std::string Platoon(int attempt) { return "ВУЦ-" + std::to_string(100 + attempt % 12); }

std::string LogHeader(int attempt) {
    return resultslog::Utf8ToCp1251(Name(attempt) + "\r\n" + Platoon(attempt) + "\r\n");
}

std::string RecordLine(const char* event, int attempt) {
    const std::string time = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
    return std::string("kalvena-answers-1,") + event + "," + time + ",pc12,1.0,3fa85f64," + Id(attempt) + "," +
           Name(attempt) + "," + Platoon(attempt) + ",3";
}

// Every attempt finished with ten questions, as the program writes it.
void WriteClass(const std::filesystem::path& log, const std::filesystem::path& record, int attempts) {
    std::string logBytes;
    std::string recordBytes;
    for (int i = 0; i < attempts; ++i) {
        const int right = i % 11;
        logBytes += LogHeader(i) + "Правильных ответов " + std::to_string(right) + " из 10\r\n\r\n";
        recordBytes +=
            RecordLine("start", i) + "\n" + RecordLine("end", i) + ",finished," + std::to_string(right) + ",10";
        for (int q = 0; q < 10; ++q) {
            recordBytes += ",Tq3" + std::to_string(q + 1) + "," + (q < right ? "1,1" : "2,0") + ",30";
        }
        recordBytes += "\n";
    }
    std::ofstream(log, std::ios::binary | std::ios::trunc) << logBytes;
    std::ofstream(record, std::ios::binary | std::ios::trunc) << recordBytes;
}

template <typename Condition>
void WaitUntil(Condition condition) {
    QElapsedTimer limit;
    limit.start();
    while (!condition() && limit.elapsed() < 3000) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    const std::filesystem::path log = folder / "live-bench-Results.txt";
    const std::filesystem::path record = folder / "live-bench-Results.answers.csv";
    constexpr int kAttempts = 100000;
    WriteClass(log, record, kAttempts);
    std::printf("log %.1f MB, answers record %.1f MB, %d attempts\n", std::filesystem::file_size(log) / 1e6,
                std::filesystem::file_size(record) / 1e6, kAttempts);

    auto start = Clock::now();
    viewer::ResultsWindow window;
    window.resize(1100, 720);
    window.show();
    window.AddFiles({QString::fromStdString(log.string())});
    QApplication::processEvents();
    std::printf("window load with the record: %.1f ms\n", MillisecondsSince(start));

    QAbstractItemModel& shown = *window.Table().model();
    const auto state = [&](int row) {
        return shown.index(row, static_cast<int>(viewer::Column::State)).data().toString();
    };
    std::vector<double> registration;
    std::vector<double> latency;
    for (int i = kAttempts; i < kAttempts + 20; ++i) {
        // The registration first, as the program writes it, then the theme's start.
        start = Clock::now();
        std::ofstream(log, std::ios::binary | std::ios::app) << LogHeader(i);
        WaitUntil([&] { return shown.rowCount() == i + 1; });
        registration.push_back(MillisecondsSince(start));
        start = Clock::now();
        std::ofstream(record, std::ios::binary | std::ios::app) << RecordLine("start", i) << "\n";
        WaitUntil([&] { return state(i).startsWith("идет тест"); });
        latency.push_back(MillisecondsSince(start));
        if (!state(i).startsWith("идет тест")) std::printf("attempt %d not shown: «%s»\n", i, qPrintable(state(i)));
    }
    std::sort(registration.begin(), registration.end());
    std::printf("its registration shown: median %.1f ms, worst %.1f ms\n", registration[registration.size() / 2],
                registration.back());
    std::sort(latency.begin(), latency.end());
    std::printf("one appended attempt shown in the live view: median %.1f ms, worst %.1f ms (target 50 ms)\n",
                latency[latency.size() / 2], latency.back());
    std::filesystem::remove(log);
    std::filesystem::remove(record);
    return 0;
}
