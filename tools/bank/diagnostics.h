#pragma once

#include <string>
#include <vector>

namespace banktool {

// One broken rule, reported the way compilers do so that editors can jump
// to it: "file:line: error: message".
struct Diagnostic {
    std::string file;
    int line = 0;
    std::string message;
};

class Diagnostics {
public:
    void Add(const std::string& file, int line, std::string message);
    bool Empty() const { return items_.empty(); }
    std::size_t Count() const { return items_.size(); }
    // In file order, then line order, as an editor lists them.
    std::vector<Diagnostic> Sorted() const;

private:
    std::vector<Diagnostic> items_;
};

std::string FormatDiagnostic(const Diagnostic& diagnostic);

}  // namespace banktool
