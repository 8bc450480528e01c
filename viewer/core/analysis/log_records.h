#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "viewer/core/analysis/record_ties.h"
#include "viewer/core/files/answers_reader.h"
#include "viewer/core/files/log_reader.h"

namespace viewer {

class LogFile;

// The answers records beside logs read whole, with what ties them to their
// logs, for the modes without a window.
struct LogRecords {
    std::vector<std::unique_ptr<AnswersReader>> records;  // one per log
    // Why each record could not be read (Russian); empty when it was or
    // when there is none, as older programs keep none.
    std::vector<std::string> problems;
    std::vector<LogTies> ties;  // one per log
    std::vector<SharedName> shared;
};

LogRecords ReadLogRecords(const std::vector<const LogFile*>& logs);

// Each remark as "file:line: text", the logs' own lines first, then their
// records', then what does not tie together. Returns how many there were.
std::size_t ForEachRemark(const std::vector<const LogFile*>& logs, const LogRecords& records,
                          const std::function<void(const std::string&)>& print);

}  // namespace viewer
