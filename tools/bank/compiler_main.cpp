// kalvena-bank-compiler: checks the question bank and writes its compiled form.
//
//   kalvena-bank-compiler --bank DIR [--pictures DIR] [--source OUT.cpp]
//
// Every broken rule is printed as "file:line: error: message" (with "note"
// lines pointing at its questions where it spans the bank); any of them
// fails the run, and nothing is written.
#include <fstream>
#include <iostream>
#include <string>

#include "tools/bank/bank_check.h"
#include "tools/bank/bank_codegen.h"
#include "tools/bank/bank_file.h"
#include "tools/bank/bmp_check.h"

namespace {

struct Arguments {
    std::filesystem::path bank;
    std::filesystem::path pictures;
    std::filesystem::path source;
};

bool ParseArguments(int argc, char** argv, Arguments& arguments) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::filesystem::path value = argv[i + 1];
        if (option == "--bank") {
            arguments.bank = value;
        } else if (option == "--pictures") {
            arguments.pictures = value;
        } else if (option == "--source") {
            arguments.source = value;
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && !arguments.bank.empty();
}

bool WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    if (!out) std::cerr << path.string() << ": error: cannot write the file\n";
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    Arguments arguments;
    if (!ParseArguments(argc, argv, arguments)) {
        std::cerr << "usage: kalvena-bank-compiler --bank DIR [--pictures DIR] [--source OUT.cpp]\n";
        return 2;
    }
    banktool::Diagnostics diagnostics;
    const auto files = banktool::ReadBankDirectory(arguments.bank, diagnostics);
    const auto records = banktool::CheckBank(files, diagnostics);
    if (!arguments.pictures.empty()) banktool::CheckPictureFiles(arguments.pictures, diagnostics);
    if (!diagnostics.Empty()) {
        for (const auto& diagnostic : diagnostics.Sorted()) std::cerr << banktool::FormatDiagnostic(diagnostic) << '\n';
        std::cerr << diagnostics.ErrorCount() << " error(s) in the question bank\n";
        return 1;
    }
    if (!arguments.source.empty() && !WriteFile(arguments.source, banktool::GenerateBankSource(records))) return 1;
    return 0;
}
