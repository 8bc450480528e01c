#include "tools/bank/bank_record.h"

#include <charconv>
#include <sstream>

namespace banktool {
namespace {

// Whole numbers separated by spaces; empty when anything else is there.
std::optional<std::vector<int>> ParseNumbers(std::string_view text) {
    std::vector<int> numbers;
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && text[i] == ' ') ++i;
        if (i == text.size()) break;
        int value = 0;
        const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value);
        if (error != std::errc() || (end != text.data() + text.size() && *end != ' ')) return std::nullopt;
        numbers.push_back(value);
        i = static_cast<std::size_t>(end - text.data());
    }
    return numbers;
}

}  // namespace

int BankRecord::LineOf(std::string_view key) const {
    const Field* field = source.Find(key);
    return field != nullptr ? field->line : source.line;
}

BankRecord ReadRecord(const BankFile& file, const RecordBlock& block, int number, Diagnostics& diagnostics) {
    BankRecord record;
    record.file = file.path;
    record.theme = file.theme;
    record.number = number;
    record.name = block.name;
    record.source = block;
    const std::string where = "[" + block.name + "] ";
    auto missing = [&](std::string_view key, std::string_view hint) {
        diagnostics.Add(file.path, block.line, where + "has no '" + std::string(key) + ":' line" + std::string(hint));
    };
    auto malformed = [&](const Field& field, std::string_view key, std::string_view expected) {
        diagnostics.Add(
            file.path, field.line,
            where + "'" + std::string(key) + ":' must read " + std::string(expected) + ", not '" + field.value + "'");
    };

    if (const Field* text = block.Find(kTextKey)) {
        record.text = text->value;
    } else {
        missing(kTextKey, "");
    }
    for (int position = 1; position <= 4; ++position) {
        if (const Field* option = block.Find(OptionKey(position))) {
            record.options[static_cast<std::size_t>(position - 1)] = option->value;
        } else {
            missing(OptionKey(position), "");
        }
    }
    if (const Field* right = block.Find(kRightKey)) {
        const auto numbers = ParseNumbers(right->value);
        if (numbers && numbers->size() == 1) {
            record.right = numbers->front();
        } else {
            malformed(*right, kRightKey, "one number 1 … 4");
        }
    } else {
        missing(kRightKey, "");
    }
    if (const Field* picture = block.Find(kPictureKey)) {
        const auto numbers = ParseNumbers(picture->value);
        if (numbers && numbers->size() == 4) {
            record.picture = app::Rect{(*numbers)[0], (*numbers)[1], (*numbers)[2], (*numbers)[3]};
        } else {
            malformed(*picture, kPictureKey, "left top width height");
        }
    }
    if (const Field* label = block.Find(kLabelKey)) {
        const auto numbers = ParseNumbers(label->value);
        if (numbers && numbers->size() == 3) {
            record.label = LabelLayout{(*numbers)[0], (*numbers)[1], (*numbers)[2]};
        } else {
            malformed(*label, kLabelKey, "left top width");
        }
    } else {
        missing(kLabelKey, " (run kalvena-layout)");
    }
    if (const Field* options = block.Find(kOptionsKey)) {
        const std::size_t bar = options->value.find('|');
        const auto left = ParseNumbers(std::string_view(options->value).substr(0, bar));
        const auto widths =
            bar == std::string::npos ? std::nullopt : ParseNumbers(std::string_view(options->value).substr(bar + 1));
        if (left && left->size() == 1 && widths && widths->size() == 4) {
            record.optionsLayout =
                OptionsLayout{left->front(), {(*widths)[0], (*widths)[1], (*widths)[2], (*widths)[3]}};
        } else {
            malformed(*options, kOptionsKey, "left | width1 width2 width3 width4");
        }
    } else {
        missing(kOptionsKey, " (run kalvena-layout)");
    }
    if (const Field* window = block.Find(kWindowKey)) {
        const std::string_view value = window->value;
        const std::size_t first = value.find('|');
        const std::size_t second = first == std::string_view::npos ? first : value.find('|', first + 1);
        std::optional<std::vector<int>> height, tops, buttons;
        if (second != std::string_view::npos) {
            height = ParseNumbers(value.substr(0, first));
            tops = ParseNumbers(value.substr(first + 1, second - first - 1));
            buttons = ParseNumbers(value.substr(second + 1));
        }
        if (height && height->size() == 1 && tops && tops->size() == 4 && buttons && buttons->size() == 2) {
            record.window = content::QuestionWindowDesign{
                height->front(), {(*tops)[0], (*tops)[1], (*tops)[2], (*tops)[3]}, (*buttons)[0], (*buttons)[1]};
        } else {
            malformed(*window, kWindowKey, "height | top1 top2 top3 top4 | buttons-top start-left");
        }
    }
    return record;
}

std::string FormatLabelLayout(const LabelLayout& label) {
    std::ostringstream out;
    out << label.left << ' ' << label.top << ' ' << label.width;
    return out.str();
}

std::string FormatOptionsLayout(const OptionsLayout& options) {
    std::ostringstream out;
    out << options.left << " |";
    for (int width : options.widths) out << ' ' << width;
    return out.str();
}

std::string FormatWindowDesign(const content::QuestionWindowDesign& window) {
    std::ostringstream out;
    out << window.clientHeight << " |";
    for (int top : window.optionTops) out << ' ' << top;
    out << " | " << window.buttonsTop << ' ' << window.startLeft;
    return out.str();
}

}  // namespace banktool
