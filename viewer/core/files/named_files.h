#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "facts/results_files.h"

namespace viewer {

using facts::IsAnswersRecord;
using facts::kAnswersRecordSuffix;
using facts::kResultsLogName;

// The answers record that belongs to a results log, named as the test
// program names it; a record is its own.
std::filesystem::path AnswersPathFor(const std::filesystem::path& path);

// The log an answers record belongs to; a path that names no record is its own.
std::filesystem::path LogPathFor(const std::filesystem::path& record);

// A results log and the answers record beside it, and the computer they
// come from. Either may be missing.
struct NamedFiles {
    std::filesystem::path log;
    std::filesystem::path record;
    std::string computer;
    bool logFound = true;      // false for a record found in a folder without its log
    bool fromFolder = false;   // found in a named folder, not named itself
    bool recordNamed = false;  // the record was named, not the log
};

struct Naming {
    std::vector<NamedFiles> files;
    std::vector<std::filesystem::path> folders;       // the folders named, in their order
    std::vector<std::filesystem::path> emptyFolders;  // named, but holding neither
};

// Whether the folders named are walked for their files now, or only listed,
// for a caller that follows them as they change.
enum class Folders { Walked, Listed };

// What names on the command line or given to the window stand for: a
// folder every results log and every answers record below it (each
// computer's folder); a file the log or record it names together with its
// partner beside it. A pair reached more than once — named again, lying in
// a folder named too, or under another name of the same file — is taken
// once, where it was first reached. Every command and the window ask here.
Naming FilesNamed(const std::vector<std::filesystem::path>& names, Folders folders = Folders::Walked);

// What makes two names the same file: its device and inode where it exists,
// its absolute path without "." and ".." where it does not.
std::string FileKey(const std::filesystem::path& path);

// The key of the pair a log or record belongs to.
std::string PairKey(const std::filesystem::path& logOrRecord);

}  // namespace viewer
