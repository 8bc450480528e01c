#include "viewer/core/analysis/log_records.h"

#include "viewer/core/files/log_file.h"
#include "viewer/core/files/named_files.h"

namespace viewer {

LogRecords ReadLogRecords(const std::vector<const LogFile*>& logs) {
    LogRecords read;
    bool recordsKept = false;
    std::vector<const AnswersReader*> readers;
    for (const LogFile* log : logs) {
        read.records.push_back(std::make_unique<AnswersReader>());
        std::string problem = ReadAnswersFile(AnswersPathFor(log->Path()), *read.records.back());
        if (problem == kNoAnswersFile) problem.clear();
        read.problems.push_back(std::move(problem));
        recordsKept = recordsKept || KeepsRecords(*read.records.back());
        readers.push_back(read.records.back().get());
    }
    read.shared = NamesOfSeveralAccounts(readers);
    for (std::size_t i = 0; i < logs.size(); ++i) {
        read.ties.push_back(TieLogToRecord(logs[i]->Reader().Attempts(), *read.records[i], recordsKept));
        FlagSharedNames(read.shared, logs[i]->Reader().Attempts(), read.ties.back());
    }
    return read;
}

std::size_t ForEachRemark(const std::vector<const LogFile*>& logs, const LogRecords& records,
                          const std::function<void(const std::string&)>& print) {
    std::size_t count = 0;
    const auto line = [&](const std::string& file, std::int64_t number, const std::string& text) {
        print(file + ":" + std::to_string(number) + ": " + text);
        ++count;
    };
    for (std::size_t i = 0; i < logs.size(); ++i) {
        const std::string log = logs[i]->Path().lexically_normal().string();
        // A file that is no log at all is told once, by the caller.
        if (logs[i]->Reader().NotResultsReason().empty()) {
            for (const Remark& remark : logs[i]->Reader().Remarks()) line(log, remark.line, remark.text);
        }
        const std::string record = AnswersPathFor(logs[i]->Path()).lexically_normal().string();
        for (const Remark& remark : records.records[i]->Remarks()) line(record, remark.line, remark.text);
        for (const Remark& remark : records.ties[i].remarks) line(log, remark.line, remark.text);
    }
    for (const SharedName& name : records.shared) {
        line(AnswersPathFor(logs[name.record]->Path()).lexically_normal().string(), name.line, name.Text());
    }
    return count;
}

}  // namespace viewer
