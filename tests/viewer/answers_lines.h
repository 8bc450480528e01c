#pragma once

#include <string>
#include <vector>

// Lines of an answers record, as the test program writes them.
namespace answerstest {

struct Shown {
    std::string question;  // "Tq31"
    int chosen = 0;        // 0: none
    bool correct = false;
    int seconds = 10;
};

inline std::string EndLine(const std::string& name, const std::string& time, const std::vector<Shown>& shown,
                           const std::string& ending = "finished", const std::string& bank = "3fa85f64",
                           int theme = 3) {
    int right = 0;
    std::string questions;
    for (const Shown& item : shown) {
        right += item.correct ? 1 : 0;
        questions += "," + item.question + "," + (item.chosen == 0 ? "" : std::to_string(item.chosen)) + "," +
                     (item.correct ? "1" : "0") + "," + std::to_string(item.seconds);
    }
    return "kalvena-answers-1,end," + time + ",pc12,1.0," + bank + ",9c1e4b7a2d3f6e80," + name + ",ВЗ-21," +
           std::to_string(theme) + "," + ending + "," + std::to_string(right) + "," + std::to_string(shown.size()) +
           questions + "\n";
}

}  // namespace answerstest
