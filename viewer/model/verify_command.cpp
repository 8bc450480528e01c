#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "viewer/core/answers_reader.h"
#include "viewer/core/folder_walk.h"
#include "viewer/core/seen_check.h"
#include "viewer/model/command_line.h"
#include "viewer/model/seen_folder.h"

namespace viewer {

namespace {

// What a name stands for: a file with the answers record beside it, or a
// folder's every "Results.txt" and "*.answers.csv", below it included.
std::vector<std::filesystem::path> FilesOf(const std::filesystem::path& name) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::is_directory(name, error)) {
        files.push_back(std::filesystem::absolute(name, error));
        const std::filesystem::path record = AnswersPathFor(files.back());
        if (record != files.back() && std::filesystem::exists(record, error)) files.push_back(record);
        return files;
    }
    return WalkFolder(name,
                      [](const std::string& file) { return file == kResultsLogName || file.ends_with(".answers.csv"); })
        .files;
}

}  // namespace

int RunVerify(const Arguments& arguments) {
    const std::int64_t now =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    bool changed = false;
    bool unchecked = false;
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
        }
    }
    if (changed) return 1;
    return unchecked ? 2 : 0;
}

}  // namespace viewer
