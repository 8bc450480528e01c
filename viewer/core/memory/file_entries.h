#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace viewer {

// A whole entry of a file the viewer remembers: a log entry (a header with
// its result line and the empty line after it, if any) or one line of an
// answers record. Only complete lines make entries; the bytes of a line
// still being written are left out.
struct FileEntry {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::int64_t line = 0;  // its first line, counted from 1
    std::uint64_t hash = 0;
    std::string summary;  // one line of UTF-8, to tell what it was
};

// 64-bit FNV-1a: cheap and stable across builds; the memory is no defence
// against someone able to edit it anyway.
std::uint64_t HashBytes(std::string_view bytes);

std::vector<FileEntry> SplitLogEntries(std::string_view bytes);
std::vector<FileEntry> SplitAnswersLines(std::string_view bytes);

}  // namespace viewer
