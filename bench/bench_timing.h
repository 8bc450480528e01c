#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// What every benchmark here measures with: a steady clock, the median of
// repeated runs, which a busy machine's stray slow run does not move, and
// the plain reading that readers are compared with.
namespace bench {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The least any reader of a file must do: read it with one call and split
// it into line strings. Readers are measured against it in the same run.
inline std::size_t PlainLineSplit(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(std::filesystem::file_size(path), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.emplace_back(bytes, start, end - start);
    }
    return lines.size();
}

}  // namespace bench
