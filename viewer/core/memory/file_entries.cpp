#include "viewer/core/memory/file_entries.h"

#include "log/cp1251.h"
#include "log/log_entry.h"

namespace viewer {

namespace {

constexpr std::size_t kLongestSummary = 160;

std::string_view WithoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

std::string AsUtf8(std::string_view line) {
    return resultslog::IsUtf8(line) ? std::string(line) : resultslog::Cp1251ToUtf8(line);
}

// Cut at a character boundary, tabs and control bytes made spaces, so the
// summary stays one field of one line in the memory.
std::string Shortened(std::string text) {
    if (text.size() > kLongestSummary) {
        std::size_t cut = kLongestSummary;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        text = text.substr(0, cut) + "…";
    }
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    return text;
}

// Calls `take(at, end, number, text)` for every whole line: its offset, the
// offset after its line feed, its number from 1, and its text without the
// line end. A last line without its feed is still being written: left out.
template <typename Take>
void ForEachWholeLine(std::string_view bytes, Take take) {
    std::size_t at = 0;
    std::int64_t number = 0;
    for (std::size_t feed; at < bytes.size() && (feed = bytes.find('\n', at)) != std::string_view::npos;
         at = feed + 1) {
        take(at, feed + 1, ++number, WithoutLineEnd(bytes.substr(at, feed + 1 - at)));
    }
}

FileEntry Made(std::string_view bytes, std::uint64_t offset, std::uint64_t end, std::int64_t line,
               std::string summary) {
    return {offset, end - offset, line, HashBytes(bytes.substr(offset, end - offset)), Shortened(std::move(summary))};
}

}  // namespace

std::uint64_t HashBytes(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

std::vector<FileEntry> SplitLogEntries(std::string_view bytes) {
    std::vector<FileEntry> entries;
    std::uint64_t start = 0;
    std::int64_t startLine = 0;
    int lines = 0;  // non-empty lines of the entry being gathered
    bool result = false;
    std::string summary;
    const auto close = [&](std::uint64_t end) {
        if (lines > 0) entries.push_back(Made(bytes, start, end, startLine, summary));
        lines = 0;
        result = false;
        summary.clear();
    };
    std::size_t after = 0;
    ForEachWholeLine(bytes, [&](std::size_t at, std::size_t end, std::int64_t lineNumber, std::string_view line) {
        after = end;
        const std::string text = AsUtf8(line);
        if (text.empty()) {
            // An empty line ends an entry; stray ones belong to none.
            if (lines > 0) close(end);
            return;
        }
        const bool isResult = resultslog::StartsAsTestResult(text);
        // A header without a result is followed straight by the next one.
        if (result || (lines >= 2 && !isResult)) close(at);
        if (lines == 0) {
            start = at;
            startLine = lineNumber;
        } else {
            summary += ", ";
        }
        summary += text;
        ++lines;
        result = result || isResult;
    });
    close(after);
    return entries;
}

std::vector<FileEntry> SplitAnswersLines(std::string_view bytes) {
    std::vector<FileEntry> entries;
    ForEachWholeLine(bytes, [&](std::size_t at, std::size_t end, std::int64_t lineNumber, std::string_view line) {
        if (!line.empty()) entries.push_back(Made(bytes, at, end, lineNumber, AsUtf8(line)));
    });
    return entries;
}

}  // namespace viewer
