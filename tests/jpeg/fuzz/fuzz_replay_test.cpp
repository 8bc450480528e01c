// Replays the fuzzer's seeds and every saved crasher in the normal tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/jpeg/fuzz/fuzz_stored_picture.h"

namespace {

std::vector<std::filesystem::path> InputsIn(const char* folder) {
    std::vector<std::filesystem::path> inputs;
    const std::filesystem::path directory = std::filesystem::path(KALVENA_FUZZ_CORPUS) / folder;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        if (entry.is_regular_file() && entry.path().filename().string().front() != '.') inputs.push_back(entry.path());
    return inputs;
}

void Replay(const std::filesystem::path& input) {
    std::ifstream file(input, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    SCOPED_TRACE(input.string());
    EXPECT_NO_THROW(jpegtest::FuzzStoredPicture(bytes.data(), bytes.size()));
}

TEST(FuzzReplay, SeedsRunClean) {
    const auto seeds = InputsIn("seeds");
    EXPECT_FALSE(seeds.empty());
    for (const auto& input : seeds) Replay(input);
}

TEST(FuzzReplay, SavedCrashersRunClean) {
    for (const auto& input : InputsIn("crashers")) Replay(input);
}

}  // namespace
