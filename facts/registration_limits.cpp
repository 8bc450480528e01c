#include "facts/registration_limits.h"

namespace facts {

// Built by appending: GCC 12 at -O3 warns (-Wrestrict) on a literal + string.
std::string LengthNoteText() {
    std::string text = "Слишком длинно: в ФИО не более ";
    text += std::to_string(kFullNameLimit);
    text += " символов, во взводе не более ";
    text += std::to_string(kPlatoonLimit);
    return text;
}

std::string TooLongText(bool fullName) {
    std::string text = fullName ? "в ФИО более " : "во взводе более ";
    text += std::to_string(fullName ? kFullNameLimit : kPlatoonLimit);
    text += " символов";
    return text;
}

}  // namespace facts
