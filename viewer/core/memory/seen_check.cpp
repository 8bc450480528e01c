#include "viewer/core/memory/seen_check.h"

#include <sys/stat.h>

#include <fstream>

#include "viewer/core/memory/file_entries.h"

namespace viewer {

CheckOutcome CheckAgainstMemory(const std::filesystem::path& path, const std::filesystem::path& memoryFolder,
                                std::int64_t now) {
    CheckOutcome outcome;
    // One memory however the path was written ("./Results.txt", "a/../b").
    const std::filesystem::path absolutePath = std::filesystem::absolute(path).lexically_normal();
    const std::filesystem::path memory = SeenFilePath(memoryFolder, absolutePath.string());
    std::optional<SeenFile> seen = LoadSeen(memory, absolutePath.string());
    outcome.archived = seen && seen->archived > 0;
    struct stat info {};
    if (::stat(absolutePath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        if (outcome.archived) return outcome;
        if (seen)
            outcome.findings.push_back({Finding::Kind::Deleted,
                                        0,
                                        0,
                                        {},
                                        "файл, прочитанный ранее, исчез (если он сдан в архив, отметьте это: "
                                        "kalvena-results --archived)"});
        else
            outcome.problem = "файл не найден";
        return outcome;
    }
    std::ifstream in(absolutePath, std::ios::binary);
    // Read at its size in one piece: a string grown as it reads would
    // hold the file twice over.
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad() || !in.is_open()) {
        outcome.problem = "файл не читается";
        return outcome;
    }
    const FileIdentity identity{absolutePath.string(), static_cast<std::uint64_t>(info.st_dev),
                                static_cast<std::uint64_t>(info.st_ino)};
    if (outcome.archived) {
        // Still there as it was archived: nothing new. Anything else is a
        // fresh file, read as if for the first time.
        if (identity.device == seen->device && identity.inode == seen->inode && bytes.size() == seen->size &&
            HashBytes(bytes) == seen->prefixHash) {
            return outcome;
        }
        seen.reset();
    }
    Comparison comparison = Compare(seen, identity, bytes, now);
    outcome.findings = std::move(comparison.findings);
    if (comparison.remember && !SaveSeen(memory, *comparison.remember)) {
        outcome.problem = "не удалось записать память просмотрщика в " + memoryFolder.string();
    }
    return outcome;
}

std::string MarkArchived(const std::filesystem::path& path, const std::filesystem::path& memoryFolder,
                         std::int64_t now) {
    const std::filesystem::path absolutePath = std::filesystem::absolute(path).lexically_normal();
    const std::filesystem::path memory = SeenFilePath(memoryFolder, absolutePath.string());
    std::optional<SeenFile> seen = LoadSeen(memory, absolutePath.string());
    if (!seen) return "просмотрщик этот файл не читал: отмечать нечего";
    if (seen->archived > 0) return {};
    // What was archived need not be kept here: the memory quotes names and results.
    seen->archived = now;
    seen->entries.clear();
    if (!SaveSeen(memory, *seen)) return "не удалось записать память просмотрщика в " + memoryFolder.string();
    return {};
}

SeenCheck::SeenCheck(std::filesystem::path absolutePath, std::filesystem::path memoryFolder)
    : path_(std::move(absolutePath)), folder_(std::move(memoryFolder)) {}

bool SeenCheck::Update(std::int64_t now) {
    struct stat info {};
    Stamp stamp;
    if (::stat(path_.c_str(), &info) == 0) {
        stamp = {true, info.st_size, info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec, info.st_ino};
    }
    if (checked_ && stamp == last_) return false;
    checked_ = true;
    last_ = stamp;
    // A file never seen and not there is no finding: it may come later.
    const CheckOutcome outcome = CheckAgainstMemory(path_, folder_, now);
    if (outcome.findings.size() == findings_.size()) {
        bool same = true;
        for (std::size_t i = 0; i < findings_.size() && same; ++i) same = findings_[i].text == outcome.findings[i].text;
        if (same) return false;
    }
    findings_ = outcome.findings;
    return true;
}

}  // namespace viewer
