#include "engine/grading.h"

namespace engine {

std::int32_t PercentRight(std::int32_t rightCount, std::int32_t questionOrdinal) {
    return rightCount * 100 / questionOrdinal;
}

const char* GradeFor(std::int32_t percent) {
    if (percent >= 90) return "5 (отлично)";
    if (percent >= 70) return "4 (хорошо)";
    if (percent >= 60) return "3 (удовлетворительно)";
    return "2 (неудовлетворительно)";
}

}  // namespace engine
