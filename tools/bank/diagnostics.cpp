#include "tools/bank/diagnostics.h"

#include <algorithm>

namespace banktool {

void Diagnostics::Add(const std::string& file, int line, std::string message, Severity severity) {
    items_.push_back({file, line, std::move(message), severity});
}

std::size_t Diagnostics::ErrorCount() const {
    return static_cast<std::size_t>(std::count_if(items_.begin(), items_.end(), [](const Diagnostic& diagnostic) {
        return diagnostic.severity == Severity::error;
    }));
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
    return text.append(diagnostic.severity == Severity::note ? ": note: " : ": error: ").append(diagnostic.message);
}

}  // namespace banktool
