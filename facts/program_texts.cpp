#include "facts/program_texts.h"

namespace facts {

std::string UnwritableLogWarning(std::string_view fileName) {
    std::string text = "Внимание: результаты не сохраняются, файл ";
    text += fileName;
    text += " недоступен для записи.";
    return text;
}

}  // namespace facts
