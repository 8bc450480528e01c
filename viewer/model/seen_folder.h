#pragma once

#include <filesystem>

namespace viewer {

// Where the viewer keeps its memory of the files it has read
// (~/.local/share/kalvena-results/seen): the same for the window and the
// command line, whatever the application's name.
std::filesystem::path SeenMemoryFolder();

}  // namespace viewer
