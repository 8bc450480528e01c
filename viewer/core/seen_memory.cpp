#include "viewer/core/seen_memory.h"

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

#include "viewer/core/file_entries.h"

namespace viewer {

namespace {

// Tab-separated lines: the format, the path, the file, then one line per
// entry; new entries go at the end.
constexpr const char* kFormat = "kalvena-seen-1";

std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\t') c = ' ';
    }
    return text;
}

// "offset length line hash(hex) firstSeen summary", tab-separated.
bool ReadEntry(std::string_view line, SeenEntry& entry) {
    const auto field = [&](auto& value, int base) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) return false;
        const auto [end, error] = std::from_chars(line.data(), line.data() + tab, value, base);
        if (error != std::errc() || end != line.data() + tab) return false;
        line.remove_prefix(tab + 1);
        return true;
    };
    if (!field(entry.offset, 10) || !field(entry.length, 10) || !field(entry.line, 10) || !field(entry.hash, 16) ||
        !field(entry.firstSeen, 10))
        return false;
    entry.summary.assign(line);
    return true;
}

}  // namespace

std::filesystem::path SeenFilePath(const std::filesystem::path& folder, const std::string& absolutePath) {
    char name[17];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(HashBytes(absolutePath)));
    return folder / name;
}

std::optional<SeenFile> LoadSeen(const std::filesystem::path& memory, const std::string& absolutePath) {
    std::ifstream in(memory, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != kFormat) return std::nullopt;
    SeenFile seen;
    if (!std::getline(in, line) || line != "path\t" + OneLine(absolutePath)) return std::nullopt;
    seen.path = absolutePath;
    if (!std::getline(in, line)) return std::nullopt;
    std::istringstream file(line);
    std::string tag;
    if (!(file >> tag >> seen.device >> seen.inode >> seen.size >> std::hex >> seen.prefixHash) || tag != "file")
        return std::nullopt;
    // A memory holds up to 100,000 entries: each line's fields taken apart
    // in place, not through a stream of its own.
    while (std::getline(in, line)) {
        SeenEntry entry;
        if (!ReadEntry(line, entry)) return std::nullopt;
        seen.entries.push_back(std::move(entry));
    }
    return seen;
}

bool SaveSeen(const std::filesystem::path& memory, const SeenFile& seen) {
    std::error_code error;
    std::filesystem::create_directories(memory.parent_path(), error);
    const std::filesystem::path temporary = memory.string() + ".new-" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << kFormat << "\npath\t" << OneLine(seen.path) << "\nfile\t" << seen.device << '\t' << seen.inode << '\t'
            << seen.size << '\t' << std::hex << seen.prefixHash << std::dec << '\n';
        for (const SeenEntry& entry : seen.entries) {
            out << entry.offset << '\t' << entry.length << '\t' << entry.line << '\t' << std::hex << entry.hash
                << std::dec << '\t' << entry.firstSeen << '\t' << OneLine(entry.summary) << '\n';
        }
        out.flush();
        if (!out) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, memory, error);
    if (error) std::filesystem::remove(temporary, error);
    return !error;
}

}  // namespace viewer
