#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "facts/results_files.h"
#include "log/pending_append.h"

namespace resultslog {

// The results log "Results.txt": one entry per registration (full name and
// platoon), one result line per finished test, in Windows-1251 with CR LF.
//
// Entries are kept in memory, and on disk in the write-ahead file, and
// appended to the file when the log is closed or opened again, and at every
// end of the process that can be caught, with the guarantees of
// PendingAppend: one whole, locked, synced append each time, held back and
// retried on failure, to the file that the path names at that moment.
//
// AppendHeldBack() is the retry for a caller that tries now and then; the
// entry of a test still running stays pending.
class ResultsLog {
public:
    explicit ResultsLog(std::filesystem::path path = facts::kResultsLogName);
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

    using Holdup = resultslog::Holdup;
    Holdup HeldBack() const;

    // The file with its pending bytes, for a caller that watches several.
    PendingAppend& File();
    const PendingAppend& File() const;

private:
    PendingAppend file_;
};

}  // namespace resultslog
