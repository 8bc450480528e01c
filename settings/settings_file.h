#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

namespace settings {

// The administrator's settings of the computer.
inline constexpr const char* kSettingsFile = "/etc/kalvena/kalvena.conf";

struct Settings {
    // Where "Results.txt" goes, with %h, %u and %% still in it; empty for
    // the working folder.
    std::string resultsFolder;
    // Each test goes, event by event, to the collecting service
    // kalvena-collector, which writes it into a folder that students cannot
    // open, instead of being appended by the program.
    bool protectedResults = false;
    // Where the collecting service listens.
    std::string collectorSocket = "/run/kalvena/collector.sock";
};

// Reads `key = value` lines; blank lines and lines starting with '#' are
// skipped. A line that cannot be used is reported on `errors` with the
// file's name and the line's number, and otherwise ignored; for a key given
// twice the later line counts.
Settings ParseSettings(std::string_view text, std::string_view fileName, std::ostream& errors);

// The settings in `file`; a missing file gives the defaults, an unreadable
// one the defaults and a report on `errors`.
Settings ReadSettings(const std::filesystem::path& file, std::ostream& errors);

}  // namespace settings
