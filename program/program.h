#pragma once

#include <filesystem>

#include "settings/settings_file.h"

// The whole program: start-up, the event loop until the main window is
// closed, and the end. Returns the exit code, which is always 0; a
// termination signal ends the process as it asks once the results log has
// had what was pending. The administrator's `settingsFile` says where the
// results log goes.
int RunKalvena(const std::filesystem::path& settingsFile = settings::kSettingsFile);
