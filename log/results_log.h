#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace resultslog {

// The results log "Results.txt": one entry per registration (full name and
// platoon), one result line per finished test, in Windows-1251 with CR LF.
// Entries are kept in memory and appended to the file in one locked write,
// then synced, when the log is closed, reopened or destroyed; a failed
// append keeps the bytes for the next attempt.
class ResultsLog {
public:
    explicit ResultsLog(std::filesystem::path path = "Results.txt");
    ~ResultsLog();
    ResultsLog(const ResultsLog&) = delete;
    ResultsLog& operator=(const ResultsLog&) = delete;

    // Opens the file for appending, creating it when missing. Bytes still
    // pending from before are appended first.
    void Open();
    // Texts arrive as UTF-8 and are written as data, never as a format.
    void WriteStudentHeader(std::string_view fullName, std::string_view platoon);
    void WriteTestResult(std::int32_t rightCount, std::int32_t questionsToAsk);
    // Appends what is pending, syncs it to disk and closes the file.
    void Close();

    bool IsOpen() const;
    // False once the file could not be opened or written, until an open
    // and every append since have succeeded.
    bool Healthy() const;

private:
    bool Flush();

    std::filesystem::path path_;
    int fd_ = -1;
    std::string pending_;  // Windows-1251 bytes not yet in the file
    bool healthy_ = true;
};

}  // namespace resultslog
