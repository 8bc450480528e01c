#include "viewer/core/seen_memory.h"

#include <unistd.h>

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
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        SeenEntry entry;
        if (!(fields >> entry.offset >> entry.length >> entry.line >> std::hex >> entry.hash >> std::dec >>
              entry.firstSeen))
            return std::nullopt;
        fields.get();
        std::getline(fields, entry.summary);
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
