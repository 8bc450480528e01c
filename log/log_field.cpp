#include "log/log_field.h"

#include "facts/registration_limits.h"
#include "log/cp1251.h"
#include "log/log_entry.h"

namespace resultslog {

namespace {

// Windows-1251 reads a UTF-8 byte order mark as these three characters.
constexpr std::string_view kByteOrderMarkAsText = "п»ї";

}  // namespace

FieldProblem CheckLogField(std::string_view utf8, std::size_t limit) {
    const auto text = DecodeUtf8(utf8);
    if (!text) return FieldProblem::BadCharacter;
    // A no-break space is as blank as a space.
    if (text->find_first_not_of(U" \t\u00A0") == std::u32string::npos) return FieldProblem::Empty;
    if (text->size() > limit) return FieldProblem::TooLong;
    for (const char32_t c : *text) {
        if (!Cp1251CanEncode(c)) return FieldProblem::BadCharacter;
    }
    if (StartsAsTestResult(utf8) || utf8.starts_with(kByteOrderMarkAsText)) return FieldProblem::ReadsAsLogLine;
    return FieldProblem::None;
}

std::string FieldProblemText(FieldProblem problem, bool fullName) {
    switch (problem) {
        case FieldProblem::None: return {};
        case FieldProblem::Empty: return fullName ? "ФИО не заполнено" : "взвод не заполнен";
        case FieldProblem::TooLong: return facts::TooLongText(fullName);
        case FieldProblem::BadCharacter:
            return fullName ? "в ФИО есть недопустимые символы" : "во взводе есть недопустимые символы";
        case FieldProblem::ReadsAsLogLine:
            return fullName ? "ФИО читается как строка результата" : "взвод читается как строка результата";
    }
    return {};
}

}  // namespace resultslog
