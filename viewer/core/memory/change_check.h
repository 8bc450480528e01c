#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/core/memory/seen_memory.h"

namespace viewer {

// A change made to a file after the viewer had seen it.
struct Finding {
    enum class Kind { Altered, Removed, Moved, Inserted, Shortened, Replaced, Rewritten, Deleted };
    Kind kind = Kind::Altered;
    // Where the entry is now; for a removed one where it was; 0 for the file.
    std::int64_t line = 0;
    std::int64_t firstSeen = 0;  // of the original entry; 0 for the file
    std::string was;             // the original entry, shortened
    std::string text;            // the whole finding, Russian
};

struct Comparison {
    std::vector<Finding> findings;
    // What to remember now: set when nothing changed but something new
    // (an append, a new inode with the same bytes, a first look) was seen.
    std::optional<SeenFile> remember;
};

struct FileIdentity {
    std::string path;  // absolute
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

// Compares a file's bytes with what was seen of it. Appends are normal;
// anything else within the bytes seen before is a change. Once a change is
// found the memory stays as it was, so the change is told every time.
Comparison Compare(const std::optional<SeenFile>& seen, const FileIdentity& file, std::string_view bytes,
                   std::int64_t now);

// A local time as findings show it: "08.12.2026 09:15".
std::string SeenTimeText(std::int64_t secondsSinceEpoch);

}  // namespace viewer
