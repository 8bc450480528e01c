// The viewer's memory survives a power cut: its new content is on disk
// before it takes the memory's name, and the name is on disk before the
// save is done. The syncs are watched at the system call (this program is
// linked with --wrap=fsync).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "viewer/core/memory/seen_memory.h"

namespace {
std::filesystem::path watched;   // the memory file whose saving is watched
std::vector<std::string> syncs;  // what was synced, and whether the memory had its name then
}  // namespace

extern "C" {
int __real_fsync(int fd);

int __wrap_fsync(int fd) {
    std::error_code error;
    const std::filesystem::path synced = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error);
    const bool named = std::filesystem::exists(watched, error);
    std::string what = synced == watched.parent_path() ? "folder" : synced.filename().string();
    if (what.starts_with(watched.filename().string() + ".new-")) what = "new content";
    syncs.push_back(what + (named ? ", named" : ", not yet named"));
    return __real_fsync(fd);
}
}

namespace {

TEST(MemorySync, TheContentIsSyncedBeforeTheRenameAndTheFolderAfter) {
    testsupport::TemporaryWorkingDirectory dir;
    const std::filesystem::path folder = std::filesystem::canonical(dir.Path()) / "seen";
    const std::string log = (dir.Path() / "Results.txt").string();
    watched = viewer::SeenFilePath(folder, log);
    viewer::SeenFile seen;
    seen.path = log;
    seen.size = 50;
    ASSERT_TRUE(viewer::SaveSeen(watched, seen));
    EXPECT_EQ(syncs, (std::vector<std::string>{"new content, not yet named", "folder, named"}));
    ASSERT_TRUE(viewer::LoadSeen(watched, log));
    EXPECT_EQ(viewer::LoadSeen(watched, log)->size, 50u);
}

}  // namespace
