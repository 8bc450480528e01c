#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "log/write_ahead.h"

namespace resultslog {

// Why bytes are held back, if they are.
enum class Holdup { None, LockBusy, FileUnwritable };

// Long enough for another copy of the program to finish its append, short
// enough that a window waiting for it does not seem to hang.
inline constexpr std::chrono::milliseconds kLockPatience{200};

// Bytes bound for one file, appended whole. Each append is one write of
// everything pending, under the file's exclusive lock, then synced, so a
// line is never split by another writer's line and a kill of the process
// never leaves a torn line.
//
// The lock is awaited for the patience given only: when another program
// holds it, or the file cannot be opened or written, the bytes are held back
// for the next attempt and Healthy() turns false. A short write under the
// lock is cut back, so the file is as before. Where the file system refuses
// the lock for all that time (a network folder), the bytes are appended
// whole without it, and WroteUnlocked() says so until a later append gets
// the lock; such an append is never cut back, so a failure there may leave
// part of a line, and only the rest stays pending.
//
// Every append goes to the file that the path names at that moment: when
// the name was deleted or moved to another file while it was open, the name
// is opened afresh (created when missing).
//
// While this program appends itself, what is pending is also kept on disk
// in a write-ahead file beside the file (see write_ahead.h), synced at each
// change, so a crash or a power cut loses nothing accepted: the next program
// to open the file appends it (Open).
//
// What is pending is appended at every end of the process that can be
// caught: the object's destruction, and exit() from anywhere. A busy lock
// is then awaited a little longer, since there is no later attempt; what
// still cannot be written goes to standard error, as text, so that it is
// not lost unseen, and stays in its write-ahead file for the next program.
class PendingAppend {
public:
    // `asText` turns held-back bytes into UTF-8 text for standard error.
    PendingAppend(std::filesystem::path path, std::string (*asText)(std::string_view bytes));
    ~PendingAppend();
    PendingAppend(const PendingAppend&) = delete;
    PendingAppend& operator=(const PendingAppend&) = delete;

    // Opens the file for appending, creating it when missing. Bytes still
    // pending from before, and those that programs which have ended left in
    // their write-ahead files, are appended first if the lock is free at
    // once.
    void Open();
    // Adds bytes to what is pending; they are on disk, in the write-ahead
    // file, when this returns (unless WriteAheadFile() is empty).
    void Add(std::string_view bytes);
    // Appends what is pending; true once all of it is in the file.
    bool Flush(std::chrono::milliseconds patience);
    // Appends what is pending, syncs it to disk and closes the file.
    void Close();

    // Appends what an earlier append had to hold back, taking the lock only
    // if it is free at once; bytes added since stay pending. Leaves the file
    // open or closed as it was. True once nothing is held back.
    bool AppendHeldBack();
    // Takes over what programs which have ended left in their write-ahead
    // files and appends it if the lock is free at once (Open does this
    // too), for a file that is opened only for each append. Leaves the file
    // open or closed as it was.
    void TakeOverLeftBehind();

    bool IsOpen() const;
    // False once the file could not be opened or written, until an open
    // and every append since have succeeded.
    bool Healthy() const;
    Holdup HeldBack() const;
    // True since an append went in without the lock the file system refused.
    bool WroteUnlocked() const;
    const std::filesystem::path& Path() const { return path_; }
    // The write-ahead file that holds what is pending; empty when nothing is
    // pending, or when it could not be kept there.
    std::filesystem::path WriteAheadFile() const;
    // What is pending, as text for a person to read.
    std::string PendingText() const;

    // Runs when the process ends by exit(), before what is pending is
    // appended, so that the owner can add its last bytes.
    void BeforeExit(std::function<void()> addLastBytes);

private:
    bool AppendDue(std::chrono::milliseconds patience);
    // Makes the write-ahead file hold what is pending now.
    void KeepAhead();
    void AdoptOrphans();
    void FlushAtProcessEnd();
    static void FlushLiveFilesAtExit();

    std::filesystem::path path_;
    std::string (*asText_)(std::string_view);
    std::function<void()> beforeExit_;
    int fd_ = -1;
    std::string pending_;  // bytes not yet in the file
    WriteAhead ahead_;
    bool aheadKept_ = true;  // the write-ahead file holds pending_
    std::size_t due_ = 0;    // how many of them an append has been asked for
    bool healthy_ = true;
    bool lockBusy_ = false;  // why the last append failed
    bool unlocked_ = false;  // the last append went in without the lock
};

}  // namespace resultslog
