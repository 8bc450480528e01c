#include "viewer/core/memory/seen_memory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#include "log/append_file.h"
#include "viewer/core/files/error_text.h"
#include "viewer/core/memory/file_entries.h"

namespace viewer {

namespace {

// Tab-separated lines: the format, the path, the file, for a file gone to
// an archive when that was said, then one line per entry; new entries go
// at the end.
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
        if (line.starts_with("archived\t")) {
            std::istringstream when(line.substr(9));
            if (!(when >> seen.archived) || seen.archived <= 0) return std::nullopt;
            continue;
        }
        SeenEntry entry;
        if (!ReadEntry(line, entry)) return std::nullopt;
        seen.entries.push_back(std::move(entry));
    }
    return seen;
}

namespace {

constexpr mode_t kPrivateFolder = 0700;
constexpr mode_t kPrivateFile = 0600;

// Only what this account owns is changed; a link is never followed.
void Tighten(const std::filesystem::path& path, mode_t mode) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || info.st_uid != ::geteuid() || S_ISLNK(info.st_mode)) return;
    if ((info.st_mode & 07777 & ~mode) != 0) ::chmod(path.c_str(), mode);
}

// Creates the missing folders of the path one by one, each 0700.
std::string MakePrivateFolders(const std::filesystem::path& folder) {
    std::filesystem::path made;
    for (const auto& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), kPrivateFolder) != 0 && errno != EEXIST) {
            return made.string() + ": " + SystemErrorText(errno);
        }
    }
    return {};
}

}  // namespace

std::string KeepMemoryPrivate(const std::filesystem::path& folder) {
    if (std::string problem = MakePrivateFolders(folder); !problem.empty()) return problem;
    // The viewer's own folder above "seen" too: nothing else of it is meant for others.
    Tighten(folder.parent_path(), kPrivateFolder);
    Tighten(folder, kPrivateFolder);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file(error)) Tighten(entry.path(), kPrivateFile);
    }
    return {};
}

std::vector<std::string> RememberedPaths(const std::filesystem::path& folder) {
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (!entry.is_regular_file(error) || entry.path().filename().string().find('.') != std::string::npos) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string format, path;
        if (std::getline(in, format) && format == kFormat && std::getline(in, path) && path.starts_with("path\t")) {
            paths.push_back(path.substr(5));
        }
    }
    return paths;
}

bool SaveSeen(const std::filesystem::path& memory, const SeenFile& seen) {
    if (!MakePrivateFolders(memory.parent_path()).empty()) return false;
    std::ostringstream out;
    out << kFormat << "\npath\t" << OneLine(seen.path) << "\nfile\t" << seen.device << '\t' << seen.inode << '\t'
        << seen.size << '\t' << std::hex << seen.prefixHash << std::dec << '\n';
    if (seen.archived > 0) out << "archived\t" << seen.archived << '\n';
    for (const SeenEntry& entry : seen.entries) {
        out << entry.offset << '\t' << entry.length << '\t' << entry.line << '\t' << std::hex << entry.hash << std::dec
            << '\t' << entry.firstSeen << '\t' << OneLine(entry.summary) << '\n';
    }
    const std::string text = out.str();
    const std::filesystem::path temporary = memory.string() + ".new-" + std::to_string(::getpid());
    // Private from its first byte: no umask can open it.
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, kPrivateFile);
    if (fd < 0) return false;
    bool written = ::fchmod(fd, kPrivateFile) == 0 && resultslog::WriteAll(fd, text);
    // On disk before it takes the name: after a power cut the memory is the
    // old one or the new one, never an empty file that starts afresh.
    written = written && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    std::error_code error;
    if (written) std::filesystem::rename(temporary, memory, error);
    if (!written || error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    // The rename is durable only once the folder is synced.
    resultslog::SyncFolderOf(memory);
    return true;
}

}  // namespace viewer
