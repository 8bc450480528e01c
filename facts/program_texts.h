#pragma once

#include <string>
#include <string_view>

namespace facts {

// The registration window's warning that results are not being kept,
// naming the file that cannot be written.
std::string UnwritableLogWarning(std::string_view fileName);

}  // namespace facts
