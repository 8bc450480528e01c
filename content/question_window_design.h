#pragma once

#include <array>

namespace content {

// Where a question window's rows and buttons stand at design size. A few
// windows were drawn a pixel or more off the rest; their records say so.
struct QuestionWindowDesign {
    int clientHeight = 551;  // the design width is 800 in every window
    std::array<int, 4> optionTops{152, 216, 280, 344};
    int buttonsTop = 503;
    int startLeft = 111;  // "Перейти к следующему вопросу"

    friend bool operator==(const QuestionWindowDesign&, const QuestionWindowDesign&) = default;
};

}  // namespace content
