#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <system_error>

#include "viewer/core/analysis/log_records.h"
#include "viewer/core/files/log_file.h"
#include "viewer/core/files/named_files.h"
#include "viewer/core/memory/seen_check.h"
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

bool Remembered(const std::filesystem::path& file) {
    return LoadSeen(SeenFilePath(SeenMemoryFolder(), file.string()), file.string()).has_value();
}

// The files of a pair to compare with the memory: the one named, and each
// that is there (unless only those remembered are wanted) or remembered,
// since a file gone is told as long as it is remembered.
std::vector<std::filesystem::path> FilesToCheck(const NamedFiles& pair, bool presentToo) {
    std::vector<std::filesystem::path> files;
    for (const bool record : {false, true}) {
        const std::filesystem::path file = Normal(record ? pair.record : pair.log);
        const bool named = !pair.fromFolder && record == pair.recordNamed;
        std::error_code error;
        if (named || (presentToo && std::filesystem::exists(file, error)) || Remembered(file)) files.push_back(file);
    }
    return files;
}

// What the names stand for, and in each folder named the files the viewer
// remembers there that are gone. Folders holding neither are said and make
// `unchecked`: nothing checked is no all-clear.
std::vector<std::filesystem::path> FilesOf(const std::vector<std::filesystem::path>& names, bool& unchecked) {
    const Naming naming = FilesNamed(names);
    std::vector<std::filesystem::path> files;
    for (const NamedFiles& pair : naming.files) {
        for (std::filesystem::path& file : FilesToCheck(pair, true)) files.push_back(std::move(file));
    }
    std::set<std::filesystem::path> taken(files.begin(), files.end());
    for (const std::filesystem::path& folder : naming.folders) {
        const std::vector<std::filesystem::path> gone = RememberedBelow(folder);
        for (const std::filesystem::path& file : gone) {
            if (taken.insert(file).second) files.push_back(file);
        }
        const bool empty =
            std::find(naming.emptyFolders.begin(), naming.emptyFolders.end(), folder) != naming.emptyFolders.end();
        if (empty && gone.empty()) {
            PrintError(folder.string() + ": в папке нет файлов результатов (" + std::string(kResultsLogName) + ", *" +
                       std::string(kAnswersRecordSuffix) + ")");
            unchecked = true;
        }
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
    std::vector<std::filesystem::path> names;
    for (const QString& argument : arguments.files) names.emplace_back(argument.toStdString());
    std::vector<std::unique_ptr<LogFile>> logs;
    for (const std::filesystem::path& file : FilesOf(names, unchecked)) {
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
        if (!IsAnswersRecord(file) && std::filesystem::is_regular_file(file, error)) {
            logs.push_back(std::make_unique<LogFile>(file));
            logs.back()->Refresh();
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
            for (const NamedFiles& pair : FilesNamed({name}).files) files = FilesToCheck(pair, false);
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
