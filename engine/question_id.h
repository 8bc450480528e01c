#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// A question of the bank: theme 1 … 13, number 1 … the theme's bank size.
struct QuestionId {
    int theme = 0;
    std::int32_t number = 0;
    friend bool operator==(const QuestionId&, const QuestionId&) = default;
};

// The names that a question's window carries: Tq1101, T11q1, q1101, TQ1101.
std::string WindowClassName(QuestionId id);
std::string SourceUnitName(QuestionId id);
std::string InstanceName(QuestionId id);
std::string ContentResourceName(QuestionId id);

// Reads a window class name back; empty when it names no question of the bank.
std::optional<QuestionId> ParseWindowClassName(std::string_view name);

// The theme starter's names: Tqt11, Qstartt11, qt11.
std::string StarterClassName(int theme);
std::string StarterUnitName(int theme);
std::string StarterInstanceName(int theme);

}  // namespace engine
