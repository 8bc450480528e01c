#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "viewer/core/compiled_bank.h"
#include "viewer/core/export.h"
#include "viewer/core/folder_walk.h"
#include "viewer/core/item_table.h"
#include "viewer/model/command_line.h"
#include "viewer/model/pdf_export.h"

namespace viewer {

namespace {

// The answers records a name stands for: a folder's every "*.answers.csv"
// (each classroom computer's folder below it included), a record itself,
// or the record beside a results log.
std::vector<std::filesystem::path> RecordsOf(const std::filesystem::path& name) {
    std::error_code error;
    if (!std::filesystem::is_directory(name, error)) return {AnswersPathFor(name)};
    return WalkFolder(name, [](const std::string& file) { return file.ends_with(".answers.csv"); }).files;
}

}  // namespace

int RunItems(const Arguments& arguments) {
    int status = 0;
    bool remarked = false;
    std::vector<std::unique_ptr<AnswersReader>> readers;
    std::vector<const AnswersReader*> read;
    for (const QString& argument : arguments.files) {
        const std::vector<std::filesystem::path> records = RecordsOf(argument.toStdString());
        if (records.empty()) {
            PrintError(argument.toStdString() + ": в папке нет записей ответов (*.answers.csv)");
            status = 1;
        }
        for (const std::filesystem::path& record : records) {
            readers.push_back(std::make_unique<AnswersReader>());
            if (const std::string problem = ReadAnswersFile(record, *readers.back()); !problem.empty()) {
                PrintError(record.string() + ": " + problem);
                status = 1;
            }
            for (const Remark& remark : readers.back()->Remarks()) {
                PrintError(record.string() + ":" + std::to_string(remark.line) + ": " + remark.text);
                remarked = true;
            }
            read.push_back(readers.back().get());
        }
    }
    const Scoring scoring = arguments.allAttempts ? Scoring::AllAttempts : Scoring::FirstAttempt;
    const Grid grid = ItemGrid(AnalyzeItems(read, scoring, CompiledBankLookup()));

    std::optional<std::string> error;
    const std::string output = arguments.output.toStdString();
    if (arguments.mode == Mode::Items) {
        std::fputs(ItemsText(grid, scoring).c_str(), stdout);
    } else if (arguments.mode == Mode::Csv) {
        error = WriteCsv(output, grid);
    } else if (arguments.mode == Mode::Xlsx) {
        error = WriteXlsx(output, grid, "Вопросы");
    } else {
        error = WritePdf(output, grid, QString::fromStdString(ItemsTitle(scoring)));
    }
    if (error) {
        PrintError(*error);
        return 1;
    }
    return status == 0 && remarked ? kRemarksStatus : status;
}

}  // namespace viewer
