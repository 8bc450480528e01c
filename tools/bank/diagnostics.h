#pragma once

#include <string>
#include <vector>

namespace banktool {

// A note points at the questions behind an error that spans the bank.
enum class Severity { error, note };

// One broken rule, reported the way compilers do so that editors can jump
// to it: "file:line: error: message", or "file:line: note: message".
struct Diagnostic {
    std::string file;
    int line = 0;
    std::string message;
    Severity severity = Severity::error;
};

class Diagnostics {
public:
    void Add(const std::string& file, int line, std::string message, Severity severity = Severity::error);
    bool Empty() const { return items_.empty(); }
    std::size_t ErrorCount() const;  // the notes left out
    // In file order, then line order, as an editor lists them.
    std::vector<Diagnostic> Sorted() const;

private:
    std::vector<Diagnostic> items_;
};

std::string FormatDiagnostic(const Diagnostic& diagnostic);

}  // namespace banktool
