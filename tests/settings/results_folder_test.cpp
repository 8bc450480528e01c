#include "settings/results_folder.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/file_mode.h"
#include "tests/support/temp_dir.h"

namespace {

using settings::MachineNames;
using settings::MakeSharedFolder;
using settings::ResultsLogPath;
using testsupport::ModeOf;
using testsupport::TemporaryWorkingDirectory;
using testsupport::Umask;

const MachineNames kNames{"pc-07", "ivanov"};

TEST(ResultsFolder, NoSettingGivesResultsTxtInTheWorkingFolder) {
    EXPECT_EQ(ResultsLogPath({}, kNames), std::filesystem::path("Results.txt"));
}

TEST(ResultsFolder, TheFolderIsMadeWithItsParentsAndNamesTheLog) {
    TemporaryWorkingDirectory dir;
    const std::filesystem::path path = ResultsLogPath({(dir.Path() / "srv/kalvena/%h/%u").string()}, kNames);
    EXPECT_EQ(path, dir.Path() / "srv/kalvena/pc-07/ivanov/Results.txt");
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "srv/kalvena/pc-07/ivanov"));
    EXPECT_FALSE(std::filesystem::exists(path)) << "the log makes its file itself";
    EXPECT_EQ(ResultsLogPath({(dir.Path() / "srv/kalvena/%h/%u").string()}, kNames), path) << "and again, made";
}

TEST(ResultsFolder, AMadeFolderIsSetgidAndGroupWritableWhereItsParentIs) {
    TemporaryWorkingDirectory dir;
    const Umask umaskGuard(022);
    std::filesystem::create_directory("class");
    chmod("class", 02775);
    std::filesystem::create_directory("own");
    chmod("own", 0755);
    EXPECT_TRUE(MakeSharedFolder("class/pc-07/a"));
    EXPECT_EQ(ModeOf("class/pc-07"), 02775u);
    EXPECT_EQ(ModeOf("class/pc-07/a"), 02775u);
    EXPECT_TRUE(MakeSharedFolder("own/pc-07"));
    EXPECT_EQ(ModeOf("own/pc-07"), 02755u);
    const Umask strict(077);
    EXPECT_TRUE(MakeSharedFolder("class/pc-08"));
    EXPECT_EQ(ModeOf("class/pc-08"), 02720u) << "only the group's write permission is added to the umask's";
}

TEST(ResultsFolder, AnExistingFolderKeepsItsMode) {
    TemporaryWorkingDirectory dir;
    std::filesystem::create_directory("class");
    chmod("class", 0700);
    EXPECT_TRUE(MakeSharedFolder(dir.Path() / "class"));
    EXPECT_EQ(ModeOf("class"), 0700u);
}

TEST(ResultsFolder, AFolderThatCannotBeMadeStillNamesTheLog) {
    TemporaryWorkingDirectory dir;
    std::ofstream("taken") << "a file";
    EXPECT_FALSE(MakeSharedFolder("taken/pc-07"));
    EXPECT_EQ(ResultsLogPath({"taken/%h"}, kNames), std::filesystem::path("taken/pc-07/Results.txt"));
}

}  // namespace
