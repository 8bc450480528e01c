// kalvena-layout [--check] [BANK_DIR]: measures every question of the bank
// with the question window's fonts and rewrites the theme files' text line
// breaks and layout lines. With --check it only reports the files that are
// out of date.
#include <QApplication>
#include <QByteArray>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "app/fonts.h"
#include "tools/bank/bank_file.h"
#include "tools/bank/bank_record.h"
#include "tools/bank/bank_rules.h"
#include "tools/layout/bank_rewrite.h"
#include "tools/layout/font_measure.h"
#include "tools/layout/layout_rules.h"

namespace {

bool WriteText(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    bool checkOnly = false;
    std::filesystem::path directory = KALVENA_BANK_DIR;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--check") {
            checkOnly = true;
        } else if (!argument.starts_with("-")) {
            directory = argument;
        } else {
            std::cerr << "usage: kalvena-layout [--check] [BANK_DIR]\n";
            return 2;
        }
    }

    // The faces the program carries, the same whatever this machine has.
    app::RegisterDesignFonts();
    layouttool::FontMeasure fonts;
    if (!app::IsCarriedFace(fonts.LabelFont()) || !app::IsCarriedFace(fonts.OptionFont())) {
        std::cerr << "error: Times New Roman resolves to " << fonts.LabelFamily().toStdString()
                  << ", not to the program's own Liberation Serif\n";
        return 1;
    }

    banktool::Diagnostics syntax;
    std::vector<banktool::BankFile> files = banktool::ReadBankDirectory(directory, syntax);
    if (!syntax.Empty()) {
        for (const auto& diagnostic : syntax.Sorted()) std::cerr << banktool::FormatDiagnostic(diagnostic) << '\n';
        std::cerr << "nothing rewritten: fix the lines above first\n";
        return 1;
    }

    const layouttool::Measure measure = fonts.AsMeasure();
    int problems = 0;
    int outOfDate = 0;
    int records = 0;
    for (const banktool::BankFile& file : files) {
        std::vector<layouttool::RecordUpdate> updates;
        int number = 0;
        for (const banktool::RecordBlock& block : file.records) {
            banktool::Diagnostics ignored;  // content rules are the compiler's business
            const banktool::BankRecord record = banktool::ReadRecord(file, block, ++number, ignored);
            std::string problem;
            const auto layout = layouttool::ComputeLayout(record, measure, problem);
            if (!layout) {
                std::cerr << file.path << ":" << record.LineOf(banktool::kTextKey) << ": error: [" << record.name
                          << "] " << problem << '\n';
                ++problems;
                continue;
            }
            const int shown = fonts.DisplayedLineCount(layout->text, layout->label.width);
            if (shown != layout->lineCount) {
                // A fixed record keeps its values even where this machine's
                // font is a few pixels wider than the one it was made for.
                const bool pinned = banktool::FindPinnedRecord(record.name) != nullptr;
                std::cerr << file.path << ":" << record.LineOf(banktool::kTextKey)
                          << (pinned ? ": warning: [" : ": error: [") << record.name << "] the label would show "
                          << shown << " lines instead of " << layout->lineCount << " at its width of "
                          << layout->label.width << '\n';
                if (!pinned) ++problems;
            }
            ++records;
            updates.push_back({&block, layout->text, layout->label, layout->options});
        }
        const std::vector<std::string> lines = layouttool::RewriteLines(file, std::move(updates));
        if (lines == file.lines) continue;
        ++outOfDate;
        if (checkOnly) {
            std::cerr << file.path << ": layout out of date\n";
        } else if (!WriteText(file.path, banktool::JoinLines(lines))) {
            std::cerr << file.path << ": error: cannot write the file\n";
            ++problems;
        }
    }
    std::cout << records << " questions laid out with " << fonts.LabelFamily().toStdString() << "; " << outOfDate
              << " file(s) " << (checkOnly ? "out of date" : "rewritten") << '\n';
    if (problems > 0) return 1;
    return checkOnly && outOfDate > 0 ? 1 : 0;
}
