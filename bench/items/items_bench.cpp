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
#include "content/question_names.h"
#include "engine/theme_table.h"
#include "viewer/core/answers_reader.h"
#include "viewer/core/item_analysis.h"
#include "viewer/core/item_table.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::MillisecondsSince;

std::string QuestionName(int theme, int number) { return content::WindowClassName({theme, number}); }

// Attempts as the test program records them: a start and an end line
// each, one in ten stopped halfway, students of spread ability answering
// questions of spread difficulty, most students trying more than once.
std::string Record(int attempts, unsigned seed) {
    static const char* const kSurnames[] = {"Иванов", "Петров",  "Сидоров", "Кузнецов", "Смирнов", "Волков",
                                            "Орлов",  "Лебедев", "Козлов",  "Новиков",  "Морозов", "Соколов"};
    static const char* const kNames[] = {"Иван Иванович",  "Пётр Сергеевич",  "Алексей Викторович", "Дмитрий Андреевич",
                                         "Артём Игоревич", "Никита Олегович", "Максим Юрьевич"};
    std::mt19937 random(seed);
    auto uniform = [&] { return random() / 4294967296.0; };
    std::string out;
    char id[17];
    for (int i = 0; i < attempts; ++i) {
        const int theme = 1 + static_cast<int>(random() % 13);
        const int bank = engine::Theme(theme).BankSize;
        const int asked = theme == 11 ? 8 : 10;
        const std::string name =
            std::string(kSurnames[random() % 12]) + " " + kNames[random() % 7] + " " + std::to_string(random() % 3000);
        const std::string platoon = "ВУЦ-" + std::to_string(100 + random() % 12);
        const int minute = i % 60;
        const std::string time = "2026-12-" + std::to_string(10 + i / 50000) + "T" +
                                 std::to_string(10 + (i / 60) % 10) + ":" + (minute < 10 ? "0" : "") +
                                 std::to_string(minute) + ":00+03:00";
        std::snprintf(id, sizeof id, "%016llx", static_cast<unsigned long long>(i) * 2654435761ull);
        const std::string common =
            time + ",pc12,1.0,3fa85f64," + id + "," + name + "," + platoon + "," + std::to_string(theme);
        out += "kalvena-answers-1,start," + common + "\n";

        const double ability = 4 * uniform() - 2;
        const bool stopped = random() % 10 == 0;
        const int shown = stopped ? 1 + static_cast<int>(random() % asked) : asked;
        std::vector<bool> used(static_cast<std::size_t>(bank + 1), false);
        int question = 1 + static_cast<int>(random() % static_cast<unsigned>(bank / 2));
        int right = 0;
        std::string answers;
        for (int q = 0; q < shown; ++q) {
            while (used[static_cast<std::size_t>(question)]) question = question % bank + 1;
            used[static_cast<std::size_t>(question)] = true;
            const double difficulty = (question % 7 - 3) / 2.0;
            const bool correct = uniform() < 1 / (1 + std::exp(-1.7 * (ability - difficulty)));
            right += correct ? 1 : 0;
            const int key = 1 + question % 4;
            const int chosen = correct ? key : key % 4 + 1 + static_cast<int>(random() % 2);
            answers += "," + QuestionName(theme, question) + "," + std::to_string(chosen > 4 ? 1 : chosen) + "," +
                       (correct ? "1" : "0") + "," + std::to_string(5 + random() % 90);
            question = (question + 2) % bank + 1;
        }
        out += "kalvena-answers-1,end," + common + "," + (stopped ? "stopped" : "finished") + "," +
               std::to_string(right) + "," + std::to_string(asked) + answers + "\n";
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    const std::filesystem::path path = folder / "items_bench.answers.csv";
    const int kAttempts = 100000;
    {
        const std::string bytes = Record(kAttempts, 20261208);
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
