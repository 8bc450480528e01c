#pragma once

#include <array>
#include <cstdint>

namespace engine {

// The whole memory of the running test. One instance lives in the
// registration window for the whole run; every field starts at 0.
struct TestState {
    std::int32_t RightCount = 0;
    std::int32_t WrongCount = 0;
    std::int32_t CurrentQuestion = 0;
    std::int32_t QuestionOrdinal = 0;
    std::int32_t WalkBase = 0;
    std::int32_t QuestionsToAsk = 0;
    std::int32_t BankSize = 0;
    std::array<std::int32_t, 20> AskedList{};
    std::int32_t AskedIndex = 0;
};

}  // namespace engine
