#pragma once

// Attempts of all 13 themes as the test program records them, for the
// item analysis benchmarks: the answers record and the log beside it.
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "content/question_names.h"
#include "engine/theme_table.h"
#include "log/cp1251.h"

namespace benchdata {

inline std::string QuestionName(int theme, int number) { return content::WindowClassName({theme, number}); }

// Attempts as the test program records them: a start and an end line
// each, one in ten stopped halfway, students of spread ability answering
// questions of spread difficulty, most students trying more than once.
struct Generated {
    std::string answers;  // the answers record, UTF-8
    std::string log;      // the results log of the same attempts, Windows-1251
};

inline Generated Record(int attempts, unsigned seed) {
    static const char* const kSurnames[] = {"Иванов", "Петров",  "Сидоров", "Кузнецов", "Смирнов", "Волков",
                                            "Орлов",  "Лебедев", "Козлов",  "Новиков",  "Морозов", "Соколов"};
    static const char* const kNames[] = {"Иван Иванович",  "Пётр Сергеевич",  "Алексей Викторович", "Дмитрий Андреевич",
                                         "Артём Игоревич", "Никита Олегович", "Максим Юрьевич"};
    std::mt19937 random(seed);
    auto uniform = [&] { return random() / 4294967296.0; };
    std::string out;
    std::string log;
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
        log += name + "\r\n" + platoon + "\r\n";
        if (!stopped)
            log += "Правильных ответов " + std::to_string(right) + " из " + std::to_string(asked) + "\r\n\r\n";
    }
    return {out, resultslog::Utf8ToCp1251(log)};
}

}  // namespace benchdata
