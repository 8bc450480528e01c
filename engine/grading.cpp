#include "engine/grading.h"

namespace engine {

std::int32_t PercentRight(std::int32_t rightCount, std::int32_t questionOrdinal) {
    return rightCount * 100 / questionOrdinal;
}

std::int32_t GradePoints(std::int32_t percent) {
    if (percent >= 90) return 5;
    if (percent >= 70) return 4;
    if (percent >= 60) return 3;
    return 2;
}

const char* GradeFor(std::int32_t percent) {
    switch (GradePoints(percent)) {
        case 5: return "5 (отлично)";
        case 4: return "4 (хорошо)";
        case 3: return "3 (удовлетворительно)";
        default: return "2 (неудовлетворительно)";
    }
}

}  // namespace engine
