#include "tools/bank/diagnostics.h"

#include <algorithm>

namespace banktool {

void Diagnostics::Add(const std::string& file, int line, std::string message) {
    items_.push_back({file, line, std::move(message)});
}

std::vector<Diagnostic> Diagnostics::Sorted() const {
    std::vector<Diagnostic> sorted = items_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Diagnostic& a, const Diagnostic& b) {
        return a.file != b.file ? a.file < b.file : a.line < b.line;
    });
    return sorted;
}

std::string FormatDiagnostic(const Diagnostic& diagnostic) {
    // Appended piece by piece: GCC 12 takes a text put in front of a temporary
    // string for an overlapping copy (-Wrestrict).
    std::string text = diagnostic.file;
    if (diagnostic.line > 0) text.append(":").append(std::to_string(diagnostic.line));
    return text.append(": error: ").append(diagnostic.message);
}

}  // namespace banktool
