#pragma once

#include "engine/exam_state.h"
#include "engine/random.h"

namespace engine {

// Seeds the generator from the clock and draws the first question from the
// lower half of the bank (1 … BankSize / 2), recording it in AskedList.
// Expects CurrentQuestion 0 and an empty AskedList, as BeginTest leaves them.
void PickFirstQuestion(TestState& state, WalkSource& source);

// Moves three places on, wrapping to a descending anchor and stepping over
// questions already asked, and records the new question. Needs an unasked
// question in the bank. Returns how many passes its loop made.
int PickNextQuestion(TestState& state);

}  // namespace engine
