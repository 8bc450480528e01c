#pragma once

#include <cstdint>

namespace engine {

// A question of the bank: theme 1 … 13, number 1 … the theme's bank size.
struct QuestionId {
    int theme = 0;
    std::int32_t number = 0;
    friend bool operator==(const QuestionId&, const QuestionId&) = default;
};

}  // namespace engine
