#pragma once

#include <array>
#include <cstdint>

namespace engine {

struct ThemeRow {
    const char* title;  // UTF-8, as the theme choice window shows it
    std::int32_t BankSize;
    std::int32_t QuestionsToAsk;
};

inline constexpr int kThemeCount = 13;

// Themes are numbered 1 … kThemeCount.
const ThemeRow& Theme(int theme);

}  // namespace engine
