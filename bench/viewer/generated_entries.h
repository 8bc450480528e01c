#pragma once

#include <random>
#include <string>

#include "log/cp1251.h"

namespace benchdata {

// Entries as the test program writes them: Windows-1251, CR LF, one in ten
// abandoned, one in thirteen a theme-11 test of eight questions.
inline std::string Entries(int count, int seed) {
    static const char* const kSurnames[] = {"Иванов", "Петров",  "Сидоров", "Кузнецов", "Смирнов", "Волков",
                                            "Орлов",  "Лебедев", "Козлов",  "Новиков",  "Морозов", "Соколов"};
    static const char* const kNames[] = {"Иван Иванович",  "Пётр Сергеевич",  "Алексей Викторович", "Дмитрий Андреевич",
                                         "Артём Игоревич", "Никита Олегович", "Максим Юрьевич"};
    std::mt19937 random(static_cast<unsigned>(seed));
    std::string utf8;
    for (int i = 0; i < count; ++i) {
        utf8 += std::string(kSurnames[random() % 12]) + " " + kNames[random() % 7] + "\r\n";
        utf8 += "ВУЦ-" + std::to_string(100 + random() % 12) + "\r\n";
        if (random() % 10 == 0) continue;
        const int asked = random() % 13 == 0 ? 8 : 10;
        utf8 += "Правильных ответов " + std::to_string(random() % (asked + 1)) + " из " + std::to_string(asked) +
                "\r\n\r\n";
    }
    return resultslog::Utf8ToCp1251(utf8);
}

}  // namespace benchdata
