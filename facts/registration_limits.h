#pragma once

#include <cstddef>
#include <string>

namespace facts {

// The longest full name and platoon, in characters, that the registration
// window takes and the collecting service accepts; the log holds one byte
// per character.
inline constexpr std::size_t kFullNameLimit = 100;
inline constexpr std::size_t kPlatoonLimit = 20;

// The registration window's note when a field was cut at its limit.
std::string LengthNoteText();

// Why a field was refused for its length, naming the field.
std::string TooLongText(bool fullName);

}  // namespace facts
