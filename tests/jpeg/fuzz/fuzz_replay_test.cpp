// Replays the fuzzer's seeds and every saved crasher in the normal tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/jpeg/fuzz/fuzz_stored_picture.h"

namespace {

// The inputs of a corpus folder; the folder itself must be there, or the
// replay would pass without replaying anything.
std::vector<std::filesystem::path> InputsIn(const char* folder) {
    const std::filesystem::path directory = std::filesystem::path(KALVENA_FUZZ_CORPUS) / folder;
    EXPECT_TRUE(std::filesystem::is_directory(directory)) << directory;
    std::vector<std::filesystem::path> inputs;
    if (!std::filesystem::is_directory(directory)) return inputs;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        if (entry.is_regular_file() && entry.path().filename().string().front() != '.') inputs.push_back(entry.path());
    return inputs;
}

void Replay(const std::filesystem::path& input) {
    std::ifstream file(input, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    SCOPED_TRACE(input.string());
    ASSERT_FALSE(bytes.empty());
    EXPECT_NO_THROW(jpegtest::FuzzStoredPicture(bytes.data(), bytes.size()));
}

// The seeds and the saved crashers in one run: an empty crashers folder is
// the normal case, and the seeds keep the replay from being empty.
TEST(FuzzReplay, SeedsAndSavedCrashersRunClean) {
    const auto seeds = InputsIn("seeds");
    const auto crashers = InputsIn("crashers");
    EXPECT_GE(seeds.size(), 10u);
    for (const auto& input : seeds) Replay(input);
    for (const auto& input : crashers) Replay(input);
}

}  // namespace
