#pragma once

#include <string>

namespace viewer {

// A Russian text (UTF-8) for an errno value, in place of the C library's
// English one.
std::string SystemErrorText(int error);

}  // namespace viewer
