#pragma once

#include <string>

namespace viewer {

// Russian texts (UTF-8) for the errors the viewer meets, in place of the
// English ones of the C library and of libxlsxwriter.

// An errno value.
std::string SystemErrorText(int error);

// An lxw_error of libxlsxwriter; errorNumber is errno as the library left
// it, for the errors that come from the system.
std::string XlsxErrorText(int error, int errorNumber);

}  // namespace viewer
