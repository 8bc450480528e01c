#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace resultslog {

// A hidden file beside a log that holds, synced to disk, the bytes this
// program has accepted for the log and not yet appended to it, so that a
// crash, a kill or a power cut loses none of them. The program holds the
// file's lock while it lives; once it has gone, however it went, the lock is
// free, and the next program that opens the log takes the bytes over
// (AdoptOrphans).
//
// The file is named ".<log name>.<computer>-<process>-<random>.pending"
// (".Results.txt.pc12-4242-1f2e3d4c.pending") and replaced whole at each
// change (written beside, synced, renamed over), so it always holds either
// the bytes before a change or those after it.
class WriteAhead {
public:
    explicit WriteAhead(std::filesystem::path logPath);
    // Lets go of the file, which stays while it holds bytes.
    ~WriteAhead();
    WriteAhead(const WriteAhead&) = delete;
    WriteAhead& operator=(const WriteAhead&) = delete;

    // Makes the file hold exactly `bytes`, synced; no bytes remove it. False
    // when the file cannot be written: then there is none.
    bool Keep(std::string_view bytes);
    // Lets go of the file as it stands, for the next program to take over;
    // bytes kept later go to a new file.
    void Leave();

    // The file that now holds bytes; empty while none does.
    std::filesystem::path Holder() const;

private:
    bool Replace(std::string_view bytes);
    void Remove();

    std::filesystem::path logPath_;
    std::filesystem::path path_;
    int fd_ = -1;
};

// The pattern of the write-ahead files of `logPath`: the files whose names
// start with the first part and end with the second.
std::pair<std::string, std::string> WriteAheadNamePattern(const std::filesystem::path& logPath);

// Takes over the write-ahead files beside `logPath` left by programs that
// have ended (their lock is free), oldest first: `adopt` gets each file's
// bytes and returns true once it holds them safely, and the file is then
// removed. A file whose program still runs is left alone, as is `own`.
void AdoptOrphans(const std::filesystem::path& logPath, const std::filesystem::path& own,
                  const std::function<bool(std::string_view bytes)>& adopt);

}  // namespace resultslog
