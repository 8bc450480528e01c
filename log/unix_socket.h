#pragma once

#include <filesystem>

namespace resultslog {

// Connects to the Unix stream socket at `path`; the descriptor, or -1 when
// the path is too long for a socket address or nobody listens there. A
// Unix socket connects at once or not at all, so `nonBlocking` costs no
// wait either way.
int ConnectUnixSocket(const std::filesystem::path& path, bool nonBlocking);

}  // namespace resultslog
