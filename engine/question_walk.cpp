#include "engine/question_walk.h"

namespace engine {

void PickFirstQuestion(TestState& state, WalkSource& source) {
    source.random.Seed(static_cast<std::uint32_t>(source.clock()));
    const std::int32_t n = state.BankSize / 2 + 1;
    while (state.CurrentQuestion == 0) {
        state.CurrentQuestion = n == 0 ? 0 : source.random.Next() % n;
    }
    state.WalkBase = state.CurrentQuestion;
    state.AskedIndex = 0;
    state.AskedList[0] = state.CurrentQuestion;
}

namespace {

bool AlreadyAsked(const TestState& state) {
    for (std::int32_t slot = 0; slot < state.BankSize; ++slot) {
        if (state.AskedList[static_cast<std::size_t>(slot)] == state.CurrentQuestion) return true;
    }
    return false;
}

}  // namespace

int PickNextQuestion(TestState& state) {
    state.CurrentQuestion += 3;
    int passes = 0;
    for (;;) {
        ++passes;
        if (state.CurrentQuestion > state.BankSize) {
            state.CurrentQuestion = state.WalkBase - 1;
            state.WalkBase -= 1;
        }
        if (state.CurrentQuestion == 0) {
            state.CurrentQuestion = 1;
            state.WalkBase += 1;
        }
        if (!AlreadyAsked(state)) break;
        state.CurrentQuestion += 1;
    }
    state.AskedIndex += 1;
    state.AskedList[static_cast<std::size_t>(state.AskedIndex)] = state.CurrentQuestion;
    return passes;
}

}  // namespace engine
