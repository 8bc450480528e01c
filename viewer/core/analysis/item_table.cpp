#include "viewer/core/analysis/item_table.h"

#include <cmath>
#include <cstdio>

#include "viewer/core/analysis/results_table.h"

namespace viewer {

namespace {

constexpr const char* kTitles[kItemColumnCount] = {
    "Банк",         "Тема",      "Вопрос",         "Текст",         "Попыток",           "Легкость",
    "Различение",   "Выбрали",   "Доля, %",        "Сильные, %",    "Слабые, %",         "Медиана, с",
    "Средний балл", "Ст. откл.", "Альфа Кронбаха", "Ст. ош. альфы", "Альфа без вопроса", "Замечания",
    "Источник"};
constexpr double kWidths[kItemColumnCount] = {10, 6, 18, 60, 9, 9, 11, 9, 8, 9, 9, 10, 9, 9, 9, 9, 10, 40, 28};
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
// An index in two decimals, three where two would show 0,00 or 1,00 for
// what is neither: 0,004 is not «no correlation», 0,996 not «everyone».
GridCell Index(std::optional<double> value) {
    if (!value) return {};
    const double rounded = std::round(*value * 100) / 100;
    const bool hidden = *value != rounded && (rounded == 0 || std::abs(rounded) == 1);
    return Number(*value, hidden ? 3 : 2);
}
GridCell Percent(std::int32_t count, std::int32_t of) {
    if (of <= 0) return {};
    return Number(100.0 * count / of, 0);
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
    At(row, ItemColumn::Facility) = Index(question.facility);
    At(row, ItemColumn::Discrimination) = Index(question.discrimination);
    if (question.key != 0) {
        // The groups' shares right.
        const auto key = static_cast<std::size_t>(question.key);
        At(row, ItemColumn::UpperShare) = Percent(question.upperChosen[key], question.upperGroup);
        At(row, ItemColumn::LowerShare) = Percent(question.lowerChosen[key], question.lowerGroup);
    }
    At(row, ItemColumn::AlphaWithout) = Index(question.alphaWithout);
    At(row, ItemColumn::MedianSeconds) = Number(question.medianSeconds, 1);
    At(row, ItemColumn::Notes).text = Joined(question.flags, "; ");
    if (!question.flags.empty()) At(row, ItemColumn::Source).text = SourceText(theme, question);
    grid.rows.push_back(std::move(row));
    grid.headings.push_back(false);
    for (std::size_t option = 1; option <= 5; ++option) {
        // The options 1 … 4, then no answer.
        const std::size_t counted = option % 5;
        auto line = EmptyRow(theme);
        std::string label = counted == 0 ? "  без ответа" : "  вариант " + std::to_string(counted);
        if (counted != 0 && static_cast<std::int32_t>(counted) == question.key) label += std::string(" ") + kKeyMark;
        At(line, ItemColumn::Question).text = label;
        if (counted != 0 && question.wording)
            At(line, ItemColumn::Text).text = OneLine(question.wording->options[counted - 1]);
        const std::int32_t chosen = question.chosen[counted];
        At(line, ItemColumn::Chosen) = Count(chosen);
        At(line, ItemColumn::Share) = Percent(chosen, question.attempts);
        At(line, ItemColumn::UpperShare) = Percent(question.upperChosen[counted], question.upperGroup);
        At(line, ItemColumn::LowerShare) = Percent(question.lowerChosen[counted], question.lowerGroup);
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
                At(line, ItemColumn::Alpha) = Index(form.alpha->value);
                At(line, ItemColumn::AlphaError) = Index(form.alpha->standardError);
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

bool IsKeyRow(const Grid& grid, std::size_t row) {
    const auto question = static_cast<std::size_t>(ItemColumn::Question);
    return row < grid.rows.size() && grid.rows[row].size() == kItemColumnCount &&
           grid.rows[row][question].text.ends_with(kKeyMark);
}

Grid PlatoonFacilityGrid(const ThemeAnalysis& theme) {
    Grid grid;
    grid.titles = {"Вопрос", "Попыток", "Легкость"};
    grid.widths = {10, 9, 9};
    for (const std::string& platoon : theme.platoons) {
        grid.titles.push_back(platoon);
        grid.widths.push_back(12);
    }
    for (const QuestionAnalysis& question : theme.questions) {
        std::vector<GridCell> row{{question.name, {}}, Count(question.attempts), Index(question.facility)};
        for (const auto& [attempts, right] : question.byPlatoon) {
            if (attempts == 0) {
                row.emplace_back();
                continue;
            }
            GridCell cell = Index(static_cast<double>(right) / attempts);
            cell.text += " (" + std::to_string(attempts) + ")";
            row.push_back(std::move(cell));
        }
        grid.rows.push_back(std::move(row));
        grid.headings.push_back(false);
    }
    return grid;
}

std::string SourceText(const ThemeAnalysis& theme, const QuestionAnalysis& question) {
    if (question.wording && question.wording->source)
        return question.wording->source->file + ":" + std::to_string(question.wording->source->line);
    return "банк " + Hex(theme.bank);
}

std::string RevisionText(const ItemAnalysis& analysis) {
    std::string out;
    for (const ThemeAnalysis& theme : analysis.themes) {
        for (const QuestionAnalysis& question : theme.questions) {
            for (const std::string& flag : question.flags) {
                if (flag == kRoughNote) continue;
                out += SourceText(theme, question) + ": " + question.name + ": " + flag + "\n";
            }
        }
    }
    return out;
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
