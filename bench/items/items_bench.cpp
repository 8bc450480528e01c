// Reading an answers record and analysing every theme's questions, against
// a plain loop that reads the same bytes and only splits them into lines.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "bench/items/generated_record.h"
#include "content/question_names.h"
#include "engine/theme_table.h"
#include "viewer/core/analysis/item_analysis.h"
#include "viewer/core/analysis/item_table.h"
#include "viewer/core/files/answers_reader.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::MillisecondsSince;

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    const std::filesystem::path path = folder / "items_bench.answers.csv";
    const int kAttempts = 100000;
    {
        const std::string bytes = benchdata::Record(kAttempts, 20261208).answers;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    std::vector<double> plain, read, analysed, table, analysisAlone;
    std::size_t lines = 0, themes = 0, rows = 0;
    for (int run = 0; run < 7; ++run) {
        auto start = Clock::now();
        lines = bench::PlainLineSplit(path);
        plain.push_back(MillisecondsSince(start));

        start = Clock::now();
        viewer::AnswersReader reader;
        viewer::ReadAnswersFile(path, reader);
        read.push_back(MillisecondsSince(start));
        const auto analysisStart = Clock::now();
        const auto analysis = viewer::AnalyzeItems({&reader}, viewer::Scoring::FirstAttempt, {});
        analysed.push_back(MillisecondsSince(start));
        analysisAlone.push_back(MillisecondsSince(analysisStart));
        rows = viewer::ItemGrid(analysis).rows.size();
        table.push_back(MillisecondsSince(start));
        themes = analysis.themes.size();
    }
    std::printf("record: %d attempts, %zu lines, %.1f MB\n", kAttempts, lines,
                static_cast<double>(std::filesystem::file_size(path)) / 1e6);
    std::printf("plain split:                 %7.1f ms\n", Median(plain));
    std::printf("reader alone:                %7.1f ms  (%.2f x plain)\n", Median(read), Median(read) / Median(plain));
    std::printf("item analysis alone:         %7.1f ms\n", Median(analysisAlone));
    std::printf("reader + item analysis:      %7.1f ms  (%.2f x plain), %zu themes\n", Median(analysed),
                Median(analysed) / Median(plain), themes);
    std::printf("reader + analysis + table:   %7.1f ms  (%.2f x plain), %zu rows\n", Median(table),
                Median(table) / Median(plain), rows);
    std::filesystem::remove(path);
    return 0;
}
