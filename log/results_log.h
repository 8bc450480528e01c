#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace resultslog {

// The results log "Results.txt": one entry per registration (full name and
// platoon), one result line per finished test, in Windows-1251 with CR LF.
//
// Entries are kept in memory and appended to the file when the log is
// closed or opened again, and at every end of the process that can be
// caught: the object's destruction, and exit() from anywhere (the program
// turns termination signals into an orderly end). Each append is one
// write of everything pending, under the file's exclusive lock, then synced,
// so an entry is never split by another writer's entry and a kill of the
// process never leaves a torn line.
//
// The lock is awaited briefly only: when another program holds it, or the
// file cannot be opened or written, the bytes are held back for the next
// attempt and Healthy() turns false; AppendHeldBack() is that attempt for a
// caller that retries now and then. A short write under the lock is cut
// back, so the file is as before. Where the file system has no locks at all
// the bytes are appended unlocked and never cut back; a failed append there
// may leave part of a line, and only the rest stays pending.
//
// Every append goes to the file that the path names at that moment: when
// the name was deleted or moved to another file while the log was open, the
// name is opened afresh (created when missing).
//
// At the end of the process a busy lock is awaited a little longer, since
// there is no later attempt; what still cannot be written then is written
// to standard error, as text, so that it is not lost unseen.
class ResultsLog {
public:
    explicit ResultsLog(std::filesystem::path path = "Results.txt");
    ~ResultsLog();
    ResultsLog(const ResultsLog&) = delete;
    ResultsLog& operator=(const ResultsLog&) = delete;

    // Opens the file for appending, creating it when missing. Bytes still
    // pending from before are appended first if the lock is free at once.
    void Open();
    // Texts arrive as UTF-8 and are written as data, never as a format.
    void WriteStudentHeader(std::string_view fullName, std::string_view platoon);
    void WriteTestResult(std::int32_t rightCount, std::int32_t questionsToAsk);
    // Appends what is pending, syncs it to disk and closes the file.
    void Close();

    // Appends what an earlier append had to hold back, taking the lock only
    // if it is free at once; the entry of a test still running stays
    // pending. Leaves the log open or closed as it was. True once nothing
    // is held back.
    bool AppendHeldBack();

    bool IsOpen() const;
    // False once the file could not be opened or written, until an open
    // and every append since have succeeded.
    bool Healthy() const;

    enum class Holdup { None, LockBusy, FileUnwritable };
    // Why bytes are held back, if they are.
    Holdup HeldBack() const;

private:
    bool Flush(std::chrono::milliseconds patience);
    bool AppendPending(std::chrono::milliseconds patience);
    void FlushAtProcessEnd();
    static void FlushLiveLogsAtExit();

    std::filesystem::path path_;
    int fd_ = -1;
    std::string pending_;  // Windows-1251 bytes not yet in the file
    std::size_t due_ = 0;  // how many of them an append has been asked for
    bool healthy_ = true;
    bool lockBusy_ = false;  // why the last append failed
};

}  // namespace resultslog
