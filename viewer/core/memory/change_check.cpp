#include "viewer/core/memory/change_check.h"

#include <time.h>

#include <algorithm>
#include <unordered_map>

#include "viewer/core/files/named_files.h"
#include "viewer/core/memory/file_entries.h"

namespace viewer {

namespace {

// Answers records are split by line, logs by entry.
std::vector<FileEntry> EntriesOf(const FileIdentity& file, std::string_view bytes) {
    return IsAnswersRecord(file.path) ? SplitAnswersLines(bytes) : SplitLogEntries(bytes);
}

SeenEntry Remembered(const FileEntry& entry, std::int64_t firstSeen) {
    return {entry.offset, entry.length, entry.line, entry.hash, firstSeen, entry.summary};
}

void Bound(SeenFile& seen) {
    if (seen.entries.size() > kMostRememberedEntries) {
        seen.entries.erase(seen.entries.begin(),
                           seen.entries.end() - static_cast<std::ptrdiff_t>(kMostRememberedEntries));
    }
}

std::optional<SeenFile> AfterAppend(const SeenFile& seen, const FileIdentity& file, std::string_view bytes,
                                    std::int64_t now) {
    if (bytes.size() == seen.size && file.device == seen.device && file.inode == seen.inode) return std::nullopt;
    SeenFile next = seen;
    next.device = file.device;
    next.inode = file.inode;
    next.size = bytes.size();
    next.prefixHash = HashBytes(bytes);
    const std::uint64_t known = seen.entries.empty() ? 0 : seen.entries.back().offset + seen.entries.back().length;
    for (const FileEntry& entry : EntriesOf(file, bytes)) {
        if (!next.entries.empty() && entry.offset == next.entries.back().offset) {
            // The entry last seen open (a header waiting for its result) got its end.
            next.entries.back() = Remembered(entry, next.entries.back().firstSeen);
        } else if (entry.offset >= known) {
            next.entries.push_back(Remembered(entry, now));
        }
    }
    Bound(next);
    return next;
}

std::string Quoted(const std::string& text) { return "«" + text + "»"; }

Finding EntryFinding(Finding::Kind kind, const SeenEntry& original, std::int64_t line) {
    Finding finding{kind, line, original.firstSeen, original.summary, {}};
    const std::string seenAt = SeenTimeText(original.firstSeen);
    switch (kind) {
        case Finding::Kind::Altered:
            finding.text = "запись изменена после " + seenAt + ": была " + Quoted(original.summary);
            break;
        case Finding::Kind::Removed:
            finding.text = "удалена запись, впервые прочитанная " + seenAt + ": " + Quoted(original.summary);
            break;
        default:
            finding.text = "запись перемещена, впервые прочитана " + seenAt + ": " + Quoted(original.summary);
            break;
    }
    return finding;
}

// Pairs the entries seen with the entries now there by their hashes.
void CompareEntries(const SeenFile& seen, std::string_view bytes, const std::vector<FileEntry>& now,
                    std::vector<Finding>& findings) {
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> byHash;
    for (std::size_t i = 0; i < now.size(); ++i) byHash[now[i].hash].push_back(i);
    std::vector<bool> used(now.size(), false);
    std::vector<std::ptrdiff_t> match(seen.entries.size(), -1);

    // The last entry may have been open and grown since.
    if (!seen.entries.empty()) {
        const SeenEntry& last = seen.entries.back();
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (now[i].offset == last.offset && now[i].length >= last.length &&
                HashBytes(bytes.substr(last.offset, last.length)) == last.hash) {
                match.back() = static_cast<std::ptrdiff_t>(i);
                used[i] = true;
            }
        }
    }
    std::size_t furthest = 0;
    for (std::size_t s = 0; s < seen.entries.size(); ++s) {
        if (match[s] >= 0) continue;
        const auto found = byHash.find(seen.entries[s].hash);
        if (found == byHash.end()) continue;
        // Prefer the copy after the last one matched, so that duplicates
        // in their old order are no move.
        std::ptrdiff_t chosen = -1;
        for (const std::size_t i : found->second) {
            if (used[i]) continue;
            if (chosen < 0) chosen = static_cast<std::ptrdiff_t>(i);
            if (i >= furthest) {
                chosen = static_cast<std::ptrdiff_t>(i);
                break;
            }
        }
        if (chosen < 0) continue;
        match[s] = chosen;
        used[static_cast<std::size_t>(chosen)] = true;
        furthest = static_cast<std::size_t>(chosen);
    }

    std::vector<std::size_t> missing;
    std::size_t highest = 0;
    bool anyMatched = false;
    for (std::size_t s = 0; s < seen.entries.size(); ++s) {
        if (match[s] < 0) {
            missing.push_back(s);
            continue;
        }
        const auto i = static_cast<std::size_t>(match[s]);
        if (anyMatched && i < highest) {
            findings.push_back(EntryFinding(Finding::Kind::Moved, seen.entries[s], now[i].line));
        }
        highest = std::max(highest, i);
        anyMatched = true;
    }
    // Entries now within the bytes seen before that match nothing seen.
    const std::uint64_t firstRemembered = seen.entries.empty() ? 0 : seen.entries.front().offset;
    std::vector<std::size_t> unknown;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (!used[i] && now[i].offset >= firstRemembered && now[i].offset < seen.size) unknown.push_back(i);
    }
    // In order, a missing entry and an unknown one are the same entry altered.
    const std::size_t paired = std::min(missing.size(), unknown.size());
    for (std::size_t k = 0; k < paired; ++k) {
        findings.push_back(EntryFinding(Finding::Kind::Altered, seen.entries[missing[k]], now[unknown[k]].line));
    }
    for (std::size_t k = paired; k < missing.size(); ++k) {
        findings.push_back(
            EntryFinding(Finding::Kind::Removed, seen.entries[missing[k]], seen.entries[missing[k]].line));
    }
    for (std::size_t k = paired; k < unknown.size(); ++k) {
        const FileEntry& entry = now[unknown[k]];
        findings.push_back({Finding::Kind::Inserted,
                            entry.line,
                            0,
                            {},
                            "вставлена запись среди прочитанных ранее: " + Quoted(entry.summary)});
    }
}

}  // namespace

std::string SeenTimeText(std::int64_t secondsSinceEpoch) {
    const time_t when = static_cast<time_t>(secondsSinceEpoch);
    tm local{};
    localtime_r(&when, &local);
    char text[32];
    strftime(text, sizeof text, "%d.%m.%Y %H:%M", &local);
    return text;
}

Comparison Compare(const std::optional<SeenFile>& seen, const FileIdentity& file, std::string_view bytes,
                   std::int64_t now) {
    Comparison result;
    if (!seen) {
        result.remember = AfterAppend(SeenFile{file.path, 0, 0, 0, HashBytes({}), 0, {}}, file, bytes, now);
        return result;
    }
    const bool shorter = bytes.size() < seen->size;
    if (!shorter && HashBytes(bytes.substr(0, seen->size)) == seen->prefixHash) {
        result.remember = AfterAppend(*seen, file, bytes, now);
        return result;
    }
    std::vector<Finding>& findings = result.findings;
    if (file.device != seen->device || file.inode != seen->inode) {
        findings.push_back({Finding::Kind::Replaced, 0, 0, {}, "файл заменён другим, с иным содержимым"});
    }
    if (shorter) {
        findings.push_back(
            {Finding::Kind::Shortened,
             0,
             0,
             {},
             "файл стал короче: было " + std::to_string(seen->size) + " байт, стало " + std::to_string(bytes.size())});
    }
    const std::size_t before = findings.size();
    CompareEntries(*seen, bytes, EntriesOf(file, bytes), findings);
    if (findings.size() == before && !shorter) {
        findings.push_back({Finding::Kind::Rewritten, 0, 0, {}, "изменена уже прочитанная часть файла"});
    }
    return result;
}

}  // namespace viewer
