// The mode of a log file the program creates: group-writable exactly when
// its folder is, so a class sharing a folder can append to one file.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "log/append_file.h"
#include "log/results_log.h"
#include "tests/support/file_mode.h"
#include "tests/support/temp_dir.h"

namespace {

using resultslog::CloseAppendFile;
using resultslog::OpenAppendFile;
using resultslog::ResultsLog;
using testsupport::ModeOf;
using testsupport::TemporaryWorkingDirectory;
using testsupport::Umask;

// Creates the log in a folder of mode `folderMode` under `mask`; its mode.
mode_t CreatedMode(mode_t mask, mode_t folderMode) {
    const Umask umaskGuard(mask);
    std::filesystem::create_directory("folder");
    chmod("folder", folderMode);
    const int fd = OpenAppendFile("folder/Results.txt");
    EXPECT_GE(fd, 0);
    CloseAppendFile(fd);
    return ModeOf("folder/Results.txt");
}

TEST(SharedFolderMode, AGroupWritableFolderMakesTheNewFileGroupWritable) {
    TemporaryWorkingDirectory dir;
    EXPECT_EQ(CreatedMode(022, 0775), 0664u);
}

TEST(SharedFolderMode, ASetgidGroupFolderMakesTheNewFileGroupWritable) {
    TemporaryWorkingDirectory dir;
    EXPECT_EQ(CreatedMode(022, 02775), 0664u);
}

TEST(SharedFolderMode, OnlyGroupWriteIsAddedToWhatTheUmaskGives) {
    TemporaryWorkingDirectory dir;
    EXPECT_EQ(CreatedMode(077, 0770), 0620u);
}

TEST(SharedFolderMode, AFolderNotGroupWritableLeavesTheUmasksMode) {
    TemporaryWorkingDirectory dir;
    EXPECT_EQ(CreatedMode(022, 0755), 0644u);
    std::filesystem::remove_all("folder");
    EXPECT_EQ(CreatedMode(027, 0757), 0640u) << "others' write permission is no group's";
}

TEST(SharedFolderMode, AnExistingFileKeepsItsMode) {
    TemporaryWorkingDirectory dir;
    const Umask umaskGuard(022);
    std::filesystem::create_directory("folder");
    chmod("folder", 0775);
    CloseAppendFile(OpenAppendFile("folder/Results.txt"));
    chmod("folder/Results.txt", 0644);
    CloseAppendFile(OpenAppendFile("folder/Results.txt"));
    EXPECT_EQ(ModeOf("folder/Results.txt"), 0644u);
}

TEST(SharedFolderMode, TheFileMadeAfreshAfterTheLogWasMovedAwayIsGroupWritable) {
    TemporaryWorkingDirectory dir;
    const Umask umaskGuard(022);
    std::filesystem::create_directory("folder");
    chmod("folder", 02775);
    ResultsLog log("folder/Results.txt");
    log.Open();
    log.WriteStudentHeader("Иванов Иван Иванович", "101");
    std::filesystem::rename("folder/Results.txt", "collected.txt");
    log.Close();
    EXPECT_TRUE(log.Healthy());
    EXPECT_EQ(ModeOf("folder/Results.txt"), 0664u);
}

}  // namespace
