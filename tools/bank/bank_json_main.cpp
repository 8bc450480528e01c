// kalvena-bank: prints the compiled question bank as a JSON array, one
// object per question.
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#include "content/question_bank.h"
#include "content/question_names.h"

namespace {

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    out += escaped;
                } else {
                    out += c;  // UTF-8 passes through
                }
        }
    }
    return out + "\"";
}

std::string RecordJson(const content::QuestionRecord& record) {
    std::string out = "{\"id\": " + JsonString(content::WindowClassName(record.id)) +
                      ", \"theme\": " + std::to_string(record.id.theme) +
                      ", \"number\": " + std::to_string(record.id.number) + ", \"text\": " + JsonString(record.text) +
                      ", \"options\": [";
    for (std::size_t i = 0; i < record.options.size(); ++i) out += (i ? ", " : "") + JsonString(record.options[i]);
    out += "], \"right\": " + std::to_string(record.right) + ", \"picture\": ";
    if (record.picture != nullptr) {
        const app::Rect& box = record.picture->box;
        out += "{\"left\": " + std::to_string(box.left) + ", \"top\": " + std::to_string(box.top) +
               ", \"width\": " + std::to_string(box.width) + ", \"height\": " + std::to_string(box.height) + "}";
    } else {
        out += "null";
    }
    const content::QuestionLayout& layout = record.layout;
    out += ", \"layout\": {\"label_left\": " + std::to_string(layout.labelLeft) +
           ", \"label_top\": " + std::to_string(layout.labelTop) +
           ", \"label_width\": " + std::to_string(layout.labelWidth) +
           ", \"options_left\": " + std::to_string(layout.optionsLeft) + ", \"option_widths\": [";
    for (std::size_t i = 0; i < layout.optionWidths.size(); ++i) {
        out += (i ? ", " : "") + std::to_string(layout.optionWidths[i]);
    }
    const content::QuestionWindowDesign& window = record.window;
    out += "]}, \"window\": {\"client_height\": " + std::to_string(window.clientHeight) + ", \"option_tops\": [";
    for (std::size_t i = 0; i < window.optionTops.size(); ++i) {
        out += (i ? ", " : "") + std::to_string(window.optionTops[i]);
    }
    return out + "], \"buttons_top\": " + std::to_string(window.buttonsTop) +
           ", \"start_left\": " + std::to_string(window.startLeft) + "}}";
}

}  // namespace

int main() {
    const auto records = content::AllQuestions();
    std::cout << "[\n";
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::cout << "  " << RecordJson(records[i]) << (i + 1 < records.size() ? ",\n" : "\n");
    }
    std::cout << "]\n";
    return std::cout ? 0 : 1;
}
