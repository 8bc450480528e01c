#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace viewer {

// A results log and the answers record beside it, and the computer they
// come from. Either may be missing.
struct NamedFiles {
    std::filesystem::path log;
    std::filesystem::path record;
    std::string computer;
    bool logFound = true;     // false for a record found in a folder without its log
    bool fromFolder = false;  // found in a named folder, not named itself
};

struct Naming {
    std::vector<NamedFiles> files;
    std::vector<std::filesystem::path> emptyFolders;  // named, but holding neither
};

// What names on the command line or given to the window stand for: a
// folder every results log and every answers record below it (each
// computer's folder); a file the log or record it names together with its
// partner beside it. A pair reached more than once — named again, lying in
// a folder named too, or under another name of the same file — is taken
// once, where it was first reached.
Naming FilesNamed(const std::vector<std::filesystem::path>& names);

// What makes two names the same file: its device and inode where it exists,
// its absolute path without "." and ".." where it does not.
std::string FileKey(const std::filesystem::path& path);

// The key of the pair a log or record belongs to.
std::string PairKey(const std::filesystem::path& logOrRecord);

// The log an answers record belongs to ("Results.answers.csv" → "Results.txt").
std::filesystem::path LogPathFor(const std::filesystem::path& record);

}  // namespace viewer
