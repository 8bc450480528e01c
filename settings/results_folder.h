#pragma once

#include <filesystem>

#include "settings/placeholders.h"
#include "settings/settings_file.h"

namespace settings {

// Creates `folder` and its missing parents. A folder made here is mode
// 0775 less the umask, with the setgid bit, so that what is made in it
// keeps the folder's group; in a group-writable parent it is made
// group-writable too, whatever the umask, so the class sharing the parent
// shares it. True when `folder` is a folder now.
bool MakeSharedFolder(const std::filesystem::path& folder);

// The results log's name in `folder`.
std::filesystem::path LogPathIn(const std::filesystem::path& folder);

// The configured results folder with its placeholders replaced; empty for
// the working folder. Nothing is made.
std::filesystem::path ConfiguredFolder(const Settings& settings, const MachineNames& names);

// The path of the results log under `settings`: "Results.txt" in the
// working folder by default, else in the configured folder, created when
// missing. A folder that cannot be made is still given: the log then finds
// its file unwritable and says so.
std::filesystem::path ResultsLogPath(const Settings& settings, const MachineNames& names);

}  // namespace settings
