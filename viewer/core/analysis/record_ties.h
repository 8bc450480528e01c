#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "viewer/core/files/answers_reader.h"
#include "viewer/core/files/log_reader.h"

namespace viewer {

// What the answers record tells of one attempt of its log.
struct AttemptTie {
    std::string account;  // the Unix account that made it; empty where none is recorded
    std::string problem;  // why the row cannot be trusted (Russian); empty when it ties
};

// The log's attempts tied to the attempts of its answers record.
struct LogTies {
    std::vector<AttemptTie> attempts;  // one per attempt of the log
    std::vector<Remark> remarks;       // at the log's lines
};

// Ties each result of a log to the `end` of a finished attempt of the same
// name and platoon in its answers record: the one with the same counts
// first, else the next one in order. A result tied to an end with other
// counts, or with none while `recordsKept` (the opened logs keep answers
// records at all: a result is written only as the end of an attempt the
// record has), is a problem. An attempt without a result takes the account
// of the k-th start of its name and platoon, as the live view pairs them.
LogTies TieLogToRecord(const std::vector<Attempt>& attempts, const AnswersReader& record, bool recordsKept);

// Whether a record holds any line: then results are expected to have theirs.
inline bool KeepsRecords(const AnswersReader& record) {
    return !record.Starts().empty() || !record.Ends().empty() || record.Lines() > 0;
}

// A full name written by several accounts: someone took a test in another's name.
struct SharedName {
    std::string fullName;
    std::vector<std::string> accounts;  // in the order first met
    std::size_t record = 0;             // where the second account wrote it
    std::int64_t line = 0;
    std::string Text() const;
};

std::vector<SharedName> NamesOfSeveralAccounts(const std::vector<const AnswersReader*>& records);

// Marks the attempts written under a shared name.
void FlagSharedNames(const std::vector<SharedName>& shared, const std::vector<Attempt>& attempts, LogTies& ties);

}  // namespace viewer
