#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace resultslog {

// Protected results: the program does not open the results folder, which
// only the helper's group may; it hands each entry to the setgid helper
// (kalvena-append KIND, the entry on standard input) and waits for its
// answer. True when the helper appended the entry. The helper waits for the
// file's lock a bounded time, so this returns within a few seconds.
bool HandOver(const std::filesystem::path& helper, std::string_view kind, std::string_view entry);

// The entries among pending bytes, one per hand-over, as the helper takes
// them: for the log a header (two CR LF lines) or a result (its line and
// the empty line), for the answers record a line. A torn tail is left out.
std::vector<std::string_view> SplitEntries(std::string_view kind, std::string_view bytes);

}  // namespace resultslog
