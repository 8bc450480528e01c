#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <system_error>

#include "viewer/core/answers_reader.h"
#include "viewer/core/file_entries.h"
#include "viewer/core/folder_walk.h"
#include "viewer/core/log_file.h"
#include "viewer/core/log_records.h"
#include "viewer/core/seen_check.h"
#include "viewer/model/command_line.h"
#include "viewer/model/seen_folder.h"

namespace viewer {

namespace {

std::filesystem::path Normal(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::absolute(path, error).lexically_normal();
}

// The files the memory holds below a folder, as absolute paths.
std::vector<std::filesystem::path> RememberedBelow(const std::filesystem::path& folder) {
    const std::string prefix = (Normal(folder) / "").string();
    std::vector<std::filesystem::path> files;
    for (const std::string& path : RememberedPaths(SeenMemoryFolder())) {
        if (path.starts_with(prefix)) files.emplace_back(path);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// What a name stands for: a file with the answers record beside it, or a
// folder's every "Results.txt" and "*.answers.csv", below it included,
// and those the viewer remembers there that are gone.
std::vector<std::filesystem::path> FilesOf(const std::filesystem::path& name) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::is_directory(name, error)) {
        files.push_back(Normal(name));
        const std::filesystem::path record = AnswersPathFor(files.back());
        // A record gone is told as long as it is remembered.
        if (record != files.back() && (std::filesystem::exists(record, error) ||
                                       LoadSeen(SeenFilePath(SeenMemoryFolder(), record.string()), record.string()))) {
            files.push_back(record);
        }
        return files;
    }
    const auto wanted = [](const std::string& file) {
        return file == kResultsLogName || file.ends_with(".answers.csv");
    };
    for (const auto& file : WalkFolder(name, wanted).files) files.push_back(Normal(file));
    const std::set<std::filesystem::path> present(files.begin(), files.end());
    for (const auto& remembered : RememberedBelow(name)) {
        if (!present.contains(remembered)) files.push_back(remembered);
    }
    return files;
}

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

int RunVerify(const Arguments& arguments) {
    const std::int64_t now = Now();
    bool changed = false;
    bool unchecked = false;
    std::vector<std::unique_ptr<LogFile>> logs;
    std::set<std::filesystem::path> logsTaken;
    for (const QString& argument : arguments.files) {
        const std::vector<std::filesystem::path> files = FilesOf(argument.toStdString());
        if (files.empty()) {
            PrintError(argument.toStdString() + ": в папке нет файлов результатов (Results.txt, *.answers.csv)");
            unchecked = true;
        }
        for (const std::filesystem::path& file : files) {
            const CheckOutcome outcome = CheckAgainstMemory(file, SeenMemoryFolder(), now);
            if (!outcome.problem.empty()) {
                PrintError(file.string() + ": " + outcome.problem);
                unchecked = true;
            }
            for (const Finding& finding : outcome.findings) {
                std::printf("%s:%lld: %s\n", file.c_str(), static_cast<long long>(finding.line), finding.text.c_str());
                changed = true;
            }
            // The logs there are read too, for what cannot be read or tied together.
            std::error_code error;
            if (!IsAnswersRecord(file.string()) && std::filesystem::is_regular_file(file, error) &&
                logsTaken.insert(file).second) {
                logs.push_back(std::make_unique<LogFile>(file));
                logs.back()->Refresh();
            }
        }
    }
    std::vector<const LogFile*> read;
    for (const auto& log : logs) {
        if (log->Problem().empty()) read.push_back(log.get());
    }
    const LogRecords records = ReadLogRecords(read);
    const std::size_t remarks =
        ForEachRemark(read, records, [](const std::string& remark) { std::printf("%s\n", remark.c_str()); });
    if (changed) return 1;
    if (unchecked) return 2;
    return remarks > 0 ? kRemarksStatus : 0;
}

int RunArchived(const Arguments& arguments) {
    const std::int64_t now = Now();
    int status = 0;
    for (const QString& argument : arguments.files) {
        const std::filesystem::path name = argument.toStdString();
        std::error_code error;
        std::vector<std::filesystem::path> files;
        // A computer's folder may be gone to the archive whole.
        if (!std::filesystem::is_regular_file(name, error)) files = RememberedBelow(name);
        if (files.empty() && !std::filesystem::is_directory(name, error)) {
            files.push_back(Normal(name));
            const std::filesystem::path record = AnswersPathFor(files.back());
            if (record != files.back() && LoadSeen(SeenFilePath(SeenMemoryFolder(), record.string()), record.string()))
                files.push_back(record);
        }
        if (files.empty()) {
            PrintError(name.string() + ": просмотрщик не читал ни одного файла в этой папке: отмечать нечего");
            status = 1;
        }
        for (const std::filesystem::path& file : files) {
            if (const std::string problem = MarkArchived(file, SeenMemoryFolder(), now); !problem.empty()) {
                PrintError(file.string() + ": " + problem);
                status = 1;
                continue;
            }
            std::printf("%s: отмечен как сданный в архив\n", file.c_str());
        }
    }
    return status;
}

}  // namespace viewer
