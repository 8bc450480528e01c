#pragma once

#include <vector>

namespace testsupport {

// The questions a whole test asks, in order, given its bank size, the number
// of questions it asks and its first question.
struct WalkOrder {
    int bank;
    int asked;
    int first;
    std::vector<int> questions;
};

// Worked out apart from the engine, step by step from the walk's rule: three
// places on, wrapping to a descending anchor, stepping over asked questions.
// Every first question of the banks of 8, 10, 11, 16 and 20 (themes 11, 10,
// 7, 1 and 5, which the screen tests take), the lowest and highest of the rest.
const std::vector<WalkOrder>& WalkOrders();

// The order from the table; throws std::out_of_range when it has none.
const std::vector<int>& WalkOrderOf(int bank, int asked, int first);

}  // namespace testsupport
