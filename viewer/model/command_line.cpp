#include "viewer/model/command_line.h"

#include <cstdio>
#include <memory>

#include "viewer/core/export.h"
#include "viewer/core/log_file.h"
#include "viewer/model/pdf_export.h"

namespace viewer {

namespace {

const char* const kUsage =
    "Использование:\n"
    "  kalvena-results [ФАЙЛ…]                 открыть журналы в окне\n"
    "  kalvena-results --summary [--last] ФАЙЛ…   сводка по взводам\n"
    "  kalvena-results --csv ВЫХОД [--last] ФАЙЛ…   таблица в CSV\n"
    "  kalvena-results --xlsx ВЫХОД [--last] ФАЙЛ…  таблица и сводка в XLSX\n"
    "  kalvena-results --pdf ВЫХОД [--last] ФАЙЛ…   таблица и сводка в PDF\n"
    "--last: в сводке учитывать только последнюю попытку каждого студента.\n";

void PrintError(const std::string& text) { std::fprintf(stderr, "kalvena-results: %s\n", text.c_str()); }

}  // namespace

bool IsCommandLine(const QStringList& arguments) {
    static const QStringList kOptions = {"--summary", "--csv", "--xlsx", "--pdf", "--help", "-h"};
    return arguments.size() > 1 && kOptions.contains(arguments[1]);
}

int RunCommandLine(const QStringList& arguments) {
    QStringList rest = arguments.mid(1);
    const QString mode = rest.takeFirst();
    if (mode == "--help" || mode == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    QString output;
    if (mode != "--summary") {
        if (rest.isEmpty()) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        output = rest.takeFirst();
    }
    const Counting counting = rest.removeAll("--last") > 0 ? Counting::LastAttempt : Counting::AllAttempts;
    if (rest.isEmpty()) {
        PrintError("не указан ни один файл журнала");
        std::fputs(kUsage, stderr);
        return 2;
    }

    int status = 0;
    std::vector<std::unique_ptr<LogFile>> files;
    std::vector<const LogFile*> read;
    for (const QString& name : rest) {
        files.push_back(std::make_unique<LogFile>(name.toStdString()));
        LogFile& file = *files.back();
        file.Refresh();
        if (!file.Problem().empty()) {
            PrintError(name.toStdString() + ": " + file.Problem());
            status = 1;
        }
        for (const Remark& remark : file.Reader().Remarks()) {
            PrintError(name.toStdString() + ":" + std::to_string(remark.line) + ": " + remark.text);
        }
        read.push_back(&file);
    }
    const ExportData data = CollectAll(read, counting);

    std::optional<std::string> error;
    if (mode == "--summary") {
        std::fputs(SummaryText(data.summary).c_str(), stdout);
    } else if (mode == "--csv") {
        error = WriteCsv(output.toStdString(), data);
    } else if (mode == "--xlsx") {
        error = WriteXlsx(output.toStdString(), data);
    } else {
        error = WritePdf(output.toStdString(), data, PdfTitle(rest), SummaryTitle(counting));
    }
    if (error) {
        PrintError(*error);
        return 1;
    }
    return status;
}

}  // namespace viewer
