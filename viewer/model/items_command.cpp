#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "viewer/core/analysis/compiled_bank.h"
#include "viewer/core/analysis/item_table.h"
#include "viewer/core/exports/export.h"
#include "viewer/core/files/named_files.h"
#include "viewer/model/command_line.h"
#include "viewer/model/pdf_export.h"

namespace viewer {

int RunItems(const Arguments& arguments) {
    int status = 0;
    std::vector<std::filesystem::path> names;
    for (const QString& argument : arguments.files) names.emplace_back(argument.toStdString());
    const Naming naming = FilesNamed(names);
    for (const std::filesystem::path& folder : naming.emptyFolders) {
        PrintError(folder.string() + ": в папке нет записей ответов (*" + std::string(kAnswersRecordSuffix) + ")");
        status = 1;
    }
    bool remarked = false;
    std::vector<std::unique_ptr<AnswersReader>> readers;
    std::vector<const AnswersReader*> read;
    for (const NamedFiles& files : naming.files) {
        const std::filesystem::path& record = files.record;
        // A folder's logs of program versions that kept no record are no error.
        std::error_code missing;
        if (files.fromFolder && !std::filesystem::exists(record, missing)) continue;
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
    const Scoring scoring = arguments.allAttempts ? Scoring::AllAttempts : Scoring::FirstAttempt;
    const ItemAnalysis analysis = AnalyzeItems(read, scoring, CompiledBankLookup());
    if (arguments.revision) {
        std::fputs(RevisionText(analysis).c_str(), stdout);
        return status == 0 && remarked ? kRemarksStatus : status;
    }
    const Grid grid = ItemGrid(analysis);

    std::optional<std::string> error;
    const std::string output = arguments.output.toStdString();
    if (arguments.mode == Mode::Items) {
        std::fputs(ItemsText(grid, scoring).c_str(), stdout);
    } else if (arguments.mode == Mode::Csv) {
        error = WriteCsv(output, grid);
    } else if (arguments.mode == Mode::Xlsx) {
        error = WriteXlsx(output, grid, "Вопросы");
    } else {
        error = WritePdf(output, grid, QString::fromStdString(ItemsTitle(scoring)),
                         [&](std::size_t row) { return IsKeyRow(grid, row); });
    }
    if (error) {
        PrintError(*error);
        return 1;
    }
    return status == 0 && remarked ? kRemarksStatus : status;
}

}  // namespace viewer
