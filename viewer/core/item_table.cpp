#include "viewer/core/item_table.h"

#include <cmath>
#include <cstdio>

#include "viewer/core/results_table.h"

namespace viewer {

namespace {

constexpr const char* kTitles[kItemColumnCount] = {
    "Банк",    "Тема",       "Вопрос",       "Текст",     "Попыток",        "Легкость",      "Различение", "Выбрали",
    "Доля, %", "Медиана, с", "Средний балл", "Ст. откл.", "Альфа Кронбаха", "Ст. ош. альфы", "Замечания"};
constexpr double kWidths[kItemColumnCount] = {10, 6, 18, 60, 9, 9, 11, 9, 8, 10, 9, 9, 9, 9, 40};
// In a terminal the texts are cut to this many characters.
constexpr std::size_t kTextInTerminal = 40;

std::string Hex(std::uint32_t bank) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", bank);
    return text;
}

GridCell Number(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return {FormatMean(value, decimals), std::round(value * scale) / scale};
}
GridCell Number(std::optional<double> value, int decimals) {
    if (!value) return {};
    return Number(*value, decimals);
}
GridCell Count(std::int32_t value) { return {std::to_string(value), static_cast<double>(value)}; }

// The bank marks line breaks by runs of spaces; one space reads in a cell.
std::string OneLine(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string Joined(const std::vector<std::string>& pieces, const char* separator) {
    std::string out;
    for (const std::string& piece : pieces) out += (out.empty() ? "" : separator) + piece;
    return out;
}

std::vector<GridCell> EmptyRow(const ThemeAnalysis& theme) {
    std::vector<GridCell> row(kItemColumnCount);
    row[static_cast<int>(ItemColumn::Bank)].text = Hex(theme.bank);
    row[static_cast<int>(ItemColumn::Theme)] = Count(theme.theme);
    return row;
}

GridCell& At(std::vector<GridCell>& row, ItemColumn column) { return row[static_cast<std::size_t>(column)]; }

void AddQuestion(Grid& grid, const ThemeAnalysis& theme, const QuestionAnalysis& question) {
    auto row = EmptyRow(theme);
    At(row, ItemColumn::Question).text = question.name;
    if (question.wording) At(row, ItemColumn::Text).text = OneLine(question.wording->text);
    At(row, ItemColumn::Attempts) = Count(question.attempts);
    At(row, ItemColumn::Facility) = Number(question.facility, 2);
    At(row, ItemColumn::Discrimination) = Number(question.discrimination, 2);
    At(row, ItemColumn::MedianSeconds) = Number(question.medianSeconds, 1);
    At(row, ItemColumn::Notes).text = Joined(question.flags, "; ");
    grid.rows.push_back(std::move(row));
    grid.headings.push_back(false);
    for (std::size_t option = 1; option <= 5; ++option) {
        // The options 1 … 4, then no answer.
        const std::size_t counted = option % 5;
        auto line = EmptyRow(theme);
        std::string label = counted == 0 ? "  без ответа" : "  вариант " + std::to_string(counted);
        if (counted != 0 && static_cast<std::int32_t>(counted) == question.key) label += " (верный)";
        At(line, ItemColumn::Question).text = label;
        if (counted != 0 && question.wording)
            At(line, ItemColumn::Text).text = OneLine(question.wording->options[counted - 1]);
        const std::int32_t chosen = question.chosen[counted];
        At(line, ItemColumn::Chosen) = Count(chosen);
        if (question.attempts > 0) At(line, ItemColumn::Share) = Number(100.0 * chosen / question.attempts, 0);
        grid.rows.push_back(std::move(line));
        grid.headings.push_back(false);
    }
}

}  // namespace

Grid ItemGrid(const ItemAnalysis& analysis) {
    Grid grid;
    grid.titles.assign(std::begin(kTitles), std::end(kTitles));
    grid.widths.assign(std::begin(kWidths), std::end(kWidths));
    for (const ThemeAnalysis& theme : analysis.themes) {
        auto row = EmptyRow(theme);
        At(row, ItemColumn::Question).text = "вся тема";
        At(row, ItemColumn::Attempts) = Count(theme.attempts);
        if (theme.attempts > 0) At(row, ItemColumn::MeanScore) = Number(theme.meanScore, 2);
        At(row, ItemColumn::ScoreDeviation) = Number(theme.scoreDeviation, 2);
        std::vector<std::string> notes = theme.flags;
        if (theme.unfinished > 0) {
            notes.push_back("незаконченных тестов (не учитываются): " + std::to_string(theme.unfinished));
        }
        At(row, ItemColumn::Notes).text = Joined(notes, "; ");
        grid.rows.push_back(std::move(row));
        grid.headings.push_back(true);

        for (std::size_t f = 0; f < theme.forms.size(); ++f) {
            const FormAnalysis& form = theme.forms[f];
            auto line = EmptyRow(theme);
            At(line, ItemColumn::Question).text = "набор вопросов " + std::to_string(f + 1);
            At(line, ItemColumn::Text).text = Joined(form.questions, " ");
            At(line, ItemColumn::Attempts) = Count(form.attempts);
            At(line, ItemColumn::MeanScore) = Number(form.meanScore, 2);
            At(line, ItemColumn::ScoreDeviation) = Number(form.scoreDeviation, 2);
            if (form.alpha) {
                At(line, ItemColumn::Alpha) = Number(form.alpha->value, 2);
                At(line, ItemColumn::AlphaError) = Number(form.alpha->standardError, 2);
            }
            At(line, ItemColumn::Notes).text = Joined(form.flags, "; ");
            grid.rows.push_back(std::move(line));
            grid.headings.push_back(false);
        }
        for (const QuestionAnalysis& question : theme.questions) AddQuestion(grid, theme, question);
    }
    return grid;
}

std::string ItemsTitle(Scoring scoring) {
    return std::string("Анализ вопросов: ") +
           (scoring == Scoring::FirstAttempt ? "первая законченная попытка каждого студента по теме"
                                             : "все законченные попытки") +
           "; прерванные тесты не учитываются";
}

std::string ItemsText(const Grid& grid, Scoring scoring) {
    std::vector<std::vector<std::string>> lines{grid.titles};
    std::vector<bool> rightAligned(grid.titles.size(), false);
    for (const auto& row : grid.rows) {
        lines.emplace_back();
        for (std::size_t c = 0; c < row.size(); ++c) {
            std::string text = row[c].text;
            if (c == static_cast<std::size_t>(ItemColumn::Text) && TextWidth(text) > kTextInTerminal) {
                // Cut on a character boundary.
                std::size_t bytes = 0;
                for (std::size_t chars = 0; chars < kTextInTerminal - 1; ++chars) {
                    ++bytes;
                    while (bytes < text.size() && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) ++bytes;
                }
                text = text.substr(0, bytes) + "…";
            }
            if (row[c].number) rightAligned[c] = true;
            lines.back().push_back(std::move(text));
        }
    }
    return ItemsTitle(scoring) + "\n\n" + AlignedText(lines, rightAligned);
}

}  // namespace viewer
