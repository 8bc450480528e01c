#include "viewer/model/command_line.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "viewer/core/analysis/log_records.h"
#include "viewer/core/exports/export.h"
#include "viewer/core/files/log_file.h"
#include "viewer/core/files/named_files.h"
#include "viewer/model/pdf_export.h"

namespace viewer {

namespace {

// %1: the log's name, %2: its answers record's, %3: the ending of a record's name.
const char* const kUsage =
    "Использование:\n"
    "  kalvena-results [ФАЙЛ|ПАПКА…]           открыть журналы в окне\n"
    "  kalvena-results --summary [--last] ФАЙЛ|ПАПКА…   сводка по взводам\n"
    "  kalvena-results --csv ВЫХОД [--last] ФАЙЛ|ПАПКА…   таблица в CSV\n"
    "  kalvena-results --xlsx ВЫХОД [--last] ФАЙЛ|ПАПКА…  таблица и сводка в XLSX\n"
    "  kalvena-results --pdf ВЫХОД [--last] ФАЙЛ|ПАПКА…   таблица и сводка в PDF\n"
    "ПАПКА: все %1 в ней и во вложенных папках (по папке на компьютер);\n"
    "  в окне новые папки и журналы в ней появляются сами.\n"
    "  kalvena-results --items [--all-attempts] ФАЙЛ|ПАПКА…   анализ вопросов\n"
    "  kalvena-results --items --csv|--xlsx|--pdf ВЫХОД [--all-attempts] ФАЙЛ|ПАПКА…\n"
    "                                          анализ вопросов в CSV, XLSX или PDF\n"
    "  kalvena-results --items --revision [--all-attempts] ФАЙЛ|ПАПКА…\n"
    "                                          вопросы с замечаниями: файл:строка банка\n"
    "--last: в сводке учитывать только последнюю попытку каждого студента.\n"
    "--items: читает записи ответов (%2 рядом с %1; в папке —\n"
    "  все *%3); учитываются только законченные тесты, по умолчанию первая\n"
    "  попытка каждого студента по теме, с --all-attempts — все.\n"
    "  kalvena-results --verify ФАЙЛ|ПАПКА…     изменены ли журналы после прочтения\n"
    "--verify: сверяет журналы (в папке — все %1 и *%3, и исчезнувшие\n"
    "  из неё) с тем, что просмотрщик видел в них раньше, и сообщает о строках, которые\n"
    "  не прочесть или не связать с попыткой; код выхода 0 — изменений нет, 1 — есть,\n"
    "  2 — ошибка, 3 — изменений нет, но есть замечания.\n"
    "  kalvena-results --archived ФАЙЛ|ПАПКА…   журналы сданы в архив: их исчезновение\n"
    "                                          или новый файл на их месте — не изменение\n"
    "Код выхода 3: работа сделана, но есть строки, которые не прочесть или не связать\n"
    "  с записью ответов (они перечислены).\n"
    "--: дальше только имена файлов, даже начинающиеся с «-».\n";

// The modes by their options; all but --summary and --help take an output file.
Mode ModeOf(const QString& option) {
    if (option == "--help" || option == "-h") return Mode::Help;
    if (option == "--summary") return Mode::Summary;
    if (option == "--verify") return Mode::Verify;
    if (option == "--archived") return Mode::Archived;
    if (option == "--csv") return Mode::Csv;
    if (option == "--xlsx") return Mode::Xlsx;
    if (option == "--pdf") return Mode::Pdf;
    return Mode::Window;
}

bool TakesOutput(Mode mode) { return mode == Mode::Csv || mode == Mode::Xlsx || mode == Mode::Pdf; }

// A log to read and the computer it comes from.
struct NamedLog {
    std::string path;
    std::string computer;
};

// The logs the names stand for (FilesNamed): records without their log
// have no rows. A folder without either is said and makes the status 1.
std::vector<NamedLog> LogsOf(const QStringList& names, int& status) {
    std::vector<std::filesystem::path> paths;
    for (const QString& name : names) paths.emplace_back(name.toStdString());
    const Naming naming = FilesNamed(paths);
    for (const std::filesystem::path& folder : naming.emptyFolders) {
        PrintError(folder.string() + ": в папке нет журналов результатов (" + std::string(kResultsLogName) + ")");
        status = 1;
    }
    std::vector<NamedLog> logs;
    for (const NamedFiles& files : naming.files) {
        if (files.logFound) logs.push_back({files.log.string(), files.computer});
    }
    return logs;
}

}  // namespace

void PrintError(const std::string& text) { std::fprintf(stderr, "kalvena-results: %s\n", text.c_str()); }

Arguments ParseArguments(const QStringList& arguments) {
    Arguments parsed;
    bool options = true;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!options || argument == "-" || !argument.startsWith('-')) {
            parsed.files << argument;
        } else if (argument == "--") {
            options = false;
        } else if (argument == "--last") {
            parsed.last = true;
        } else if (argument == "--items") {
            parsed.items = true;
        } else if (argument == "--all-attempts") {
            parsed.allAttempts = true;
        } else if (argument == "--revision") {
            parsed.revision = true;
        } else if (const Mode mode = ModeOf(argument); mode != Mode::Window) {
            if (parsed.mode != Mode::Window) {
                parsed.error = QString("лишний параметр «%1»: выгрузка или сводка выбирается одна").arg(argument);
                return parsed;
            }
            parsed.mode = mode;
            if (TakesOutput(mode)) {
                if (++i == arguments.size()) {
                    parsed.error = QString("после «%1» нужно имя выходного файла").arg(argument);
                    return parsed;
                }
                parsed.output = arguments[i];
            }
        } else {
            parsed.error = QString("неизвестный параметр «%1»").arg(argument);
            return parsed;
        }
    }
    if (parsed.mode == Mode::Help) return parsed;
    // The list of flagged questions is a form of the item analysis.
    if (parsed.revision) parsed.items = true;
    if (parsed.items && parsed.mode == Mode::Window) parsed.mode = Mode::Items;
    if ((parsed.mode == Mode::Verify || parsed.mode == Mode::Archived) &&
        (parsed.items || parsed.last || parsed.allAttempts)) {
        parsed.error = parsed.mode == Mode::Verify ? "«--verify» не сочетается с другими параметрами"
                                                   : "«--archived» не сочетается с другими параметрами";
    } else if (parsed.items && parsed.mode == Mode::Summary) {
        parsed.error = "«--items» и «--summary» не сочетаются: анализ вопросов — отдельная таблица";
    } else if (parsed.items && parsed.last) {
        parsed.error = "«--last» не действует с --items: там первая попытка или, с --all-attempts, все";
    } else if (parsed.revision && parsed.mode != Mode::Items) {
        parsed.error = "«--revision» печатает список и не сочетается с --csv, --xlsx и --pdf";
    } else if (parsed.allAttempts && !parsed.items) {
        parsed.error = "«--all-attempts» действует только вместе с --items";
    } else if (parsed.last && parsed.mode == Mode::Window) {
        parsed.error = "«--last» действует только вместе с --summary, --csv, --xlsx или --pdf";
    } else if (parsed.mode != Mode::Window && parsed.files.isEmpty()) {
        parsed.error = "не указан ни один файл журнала";
    }
    return parsed;
}

void PrintArgumentError(const QString& error) { PrintError(error.toStdString() + "; справка: kalvena-results --help"); }

int RunCommandLine(const Arguments& arguments) {
    if (!arguments.error.isEmpty()) {
        PrintArgumentError(arguments.error);
        return 2;
    }
    if (arguments.mode == Mode::Help) {
        const QString log = QString::fromUtf8(kResultsLogName);
        const QString record = QString::fromStdString(AnswersPathFor(log.toStdString()).string());
        std::fputs(
            QString::fromUtf8(kUsage).arg(log, record, QString::fromUtf8(kAnswersRecordSuffix)).toUtf8().constData(),
            stdout);
        return 0;
    }
    if (arguments.items) return RunItems(arguments);
    if (arguments.mode == Mode::Verify) return RunVerify(arguments);
    if (arguments.mode == Mode::Archived) return RunArchived(arguments);
    const Mode mode = arguments.mode;
    const QString& output = arguments.output;
    const QStringList& rest = arguments.files;
    const Counting counting = arguments.last ? Counting::LastAttempt : Counting::AllAttempts;

    int status = 0;
    bool notLogs = false;
    std::vector<std::unique_ptr<LogFile>> files;
    std::vector<const LogFile*> read;
    std::vector<std::string> computers;
    for (const auto& [path, computer] : LogsOf(rest, status)) {
        const QString name = QString::fromStdString(path);
        computers.push_back(computer);
        files.push_back(std::make_unique<LogFile>(path));
        LogFile& file = *files.back();
        file.Refresh();
        if (!file.Problem().empty()) {
            PrintError(name.toStdString() + ": " + file.Problem());
            status = 1;
        }
        // Its every line would be a remark.
        if (const std::string reason = file.Reader().NotResultsReason(); !reason.empty()) {
            const std::string message = LogReader::NotResultsMessage(name.toStdString(), reason);
            PrintError(message);
            if (mode == Mode::Summary) std::fputs((message + '\n').c_str(), stdout);
            notLogs = true;
        }
        read.push_back(&file);
    }
    const LogRecords records = ReadLogRecords(read);
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (!records.problems[i].empty()) {
            PrintError(AnswersPathFor(read[i]->Path()).string() + ": " + records.problems[i]);
            status = 1;
        }
    }
    const bool remarked = ForEachRemark(read, records, PrintError) > 0 || notLogs;
    const ExportData data = CollectAll(read, computers, counting, records.ties);

    std::optional<std::string> error;
    if (mode == Mode::Summary) {
        std::fputs(SummaryText(data.summary).c_str(), stdout);
    } else if (mode == Mode::Csv) {
        error = WriteCsv(output.toStdString(), data);
    } else if (mode == Mode::Xlsx) {
        error = WriteXlsx(output.toStdString(), data);
    } else {
        error = WritePdf(output.toStdString(), data, PdfTitle(rest), SummaryTitle(counting));
    }
    if (error) {
        PrintError(*error);
        return 1;
    }
    return status == 0 && remarked ? kRemarksStatus : status;
}

}  // namespace viewer
