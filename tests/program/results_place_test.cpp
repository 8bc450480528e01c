// Where the program sends a run's results, as the settings have it.
#include <gtest/gtest.h>

#include <filesystem>

#include "program/results_place.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(ResultsPlace, TheSettingsDecideTheModeAndTheLog) {
    const testsupport::TemporaryWorkingDirectory dir;
    const settings::MachineNames machine{"pc12", "ivanov"};
    struct Case {
        const char* name;
        settings::Settings chosen;
        std::filesystem::path log;
        std::filesystem::path socket;  // empty: the program writes the files
        bool folderMade;
    };
    const std::string shared = (dir.Path() / "class/%h").string();
    const Case cases[] = {
        {"the defaults", {}, "Results.txt", {}, false},
        {"a results folder", {shared, false, "/run/x.sock"}, dir.Path() / "class/pc12/Results.txt", {}, true},
        {"protected results",
         {shared, true, "/run/x.sock"},
         dir.Path() / "class/pc12/Results.txt",
         "/run/x.sock",
         false},
        {"protected, no folder", {"", true, "/run/x.sock"}, "Results.txt", "/run/x.sock", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir.Path() / "class");
        const ResultsPlace place = ResultsPlaceFor(c.chosen, machine);
        EXPECT_EQ(place.log, c.log);
        EXPECT_EQ(place.collectorSocket, c.socket);
        // The service makes a protected folder; this program cannot.
        EXPECT_EQ(std::filesystem::is_directory(dir.Path() / "class/pc12"), c.folderMade);
    }
}

}  // namespace
