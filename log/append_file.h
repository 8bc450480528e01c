#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string_view>

namespace resultslog {

// Opens a regular file for appending, creating it when missing. Returns the
// descriptor, or -1 when the file cannot be opened or is not a regular file.
// A file created in a group-writable folder is made group-writable as well,
// so that other accounts of the folder's group can append to it.
int OpenAppendFile(const std::filesystem::path& path);
void CloseAppendFile(int fd);

// Whether `path` still names the file open at `fd` (same device and inode):
// false once the name was deleted, renamed away or given to another file.
bool StillNamedBy(int fd, const std::filesystem::path& path);

// A name that appears, goes or is renamed over is durable only once its
// folder is synced: syncs the folder that `path` stands in.
void SyncFolderOf(const std::filesystem::path& path);
// Writes all the bytes, as many write() calls as it takes; false on an error.
bool WriteAll(int fd, std::string_view bytes);

enum class FileLock { Held, Busy, Refused };

// Takes the exclusive lock on the file, trying without blocking for at most
// `patience`, so a lock held elsewhere never freezes the program. A signal
// cuts the wait short (Busy), so the program can act on it at once.
// Refused: the file system would not lock for all that time (ENOLCK,
// EOPNOTSUPP, or EACCES where an SMB client turns another's lock into a
// mandatory one); the caller may append unlocked and must say so.
FileLock LockFile(int fd, std::chrono::milliseconds patience);
void UnlockFile(int fd);

struct Appended {
    std::size_t inFile = 0;  // how many of the bytes are now in the file
    bool whole = false;      // all of them, written and synced
};

// Appends the bytes with one write and syncs them; a kill of this process
// meanwhile does not cut the write short.
// With `locked` (the caller holds the lock taken by LockFile), a short
// write or a failed sync is cut back again, so the file is as before and
// `inFile` is 0: no torn line stays behind, and a later attempt can append
// the bytes whole.
// Without the lock nothing is ever cut back, since another writer's bytes
// may already follow ours: `inFile` then tells how many stay in the file,
// possibly part of a line, which the caller must not write again.
Appended AppendWhole(int fd, std::string_view bytes, bool locked);

}  // namespace resultslog
