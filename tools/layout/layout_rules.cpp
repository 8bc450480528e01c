#include "tools/layout/layout_rules.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "log/cp1251.h"
#include "tools/bank/bank_rules.h"
#include "tools/bank/bank_text.h"

namespace layouttool {
namespace {

using banktool::kLabelMaxWidth;

struct Break {
    std::size_t begin;  // the spaces where a line may end
    std::size_t end;
};

// A one-letter word such as "в" or "и" belongs with the word after it.
bool FollowsOneLetterWord(const std::string& text, std::size_t spaceAt) {
    std::size_t start = spaceAt;
    while (start > 0 && text[start - 1] != ' ') --start;
    const auto decoded = resultslog::DecodeUtf8(std::string_view(text).substr(start, spaceAt - start));
    return decoded && decoded->size() == 1;
}

// Places between words, skipping spaces at the very start and end.
std::vector<Break> BreakCandidates(const std::string& text, bool afterOneLetterWords) {
    std::vector<Break> breaks;
    for (const banktool::SpaceRun& run : banktool::SpaceRuns(text, 1)) {
        const std::size_t end = run.offset + run.length;
        if (run.offset > 0 && end < text.size() && (afterOneLetterWords || !FollowsOneLetterWord(text, run.offset))) {
            breaks.push_back({run.offset, end});
        }
    }
    return breaks;
}

struct Wrapping {
    std::vector<std::string> lines;
    double widest = 0;
};

std::vector<std::string> SplitAt(const std::string& text, const std::vector<Break>& at) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (const Break& b : at) {
        lines.push_back(text.substr(from, b.begin - from));
        from = b.end;
    }
    lines.push_back(text.substr(from));
    return lines;
}

// The split into lineCount lines whose widest line is narrowest.
std::optional<Wrapping> BalancedWrapping(const std::string& text, int lineCount, bool afterOneLetterWords,
                                         const Measure& measure) {
    const std::vector<Break> breaks = BreakCandidates(text, afterOneLetterWords);
    std::optional<Wrapping> best;
    auto consider = [&](const std::vector<Break>& at) {
        Wrapping wrapping{SplitAt(text, at), 0};
        for (const std::string& line : wrapping.lines) {
            wrapping.widest = std::max(wrapping.widest, measure.labelTextWidth(line));
        }
        if (!best || wrapping.widest < best->widest) best = std::move(wrapping);
    };
    if (lineCount == 1) {
        consider({});
    } else if (lineCount == 2) {
        for (const Break& b : breaks) consider({b});
    } else {
        for (std::size_t a = 0; a < breaks.size(); ++a) {
            for (std::size_t b = a + 1; b < breaks.size(); ++b) consider({breaks[a], breaks[b]});
        }
    }
    return best;
}

int LabelWidthFor(double widestLine) {
    return std::max(banktool::kLabelMinWidth, static_cast<int>(std::ceil(widestLine)) + kLabelSlack);
}

// Enough spaces after the line to fill it to the label's width, so the
// next word can only start a new line.
std::string FillingRun(const std::string& line, int labelWidth, const Measure& measure) {
    std::string run(banktool::kLineBreakRunLength, ' ');
    while (measure.labelTextWidth(line + run) < labelWidth) run += ' ';
    return run;
}

}  // namespace

std::optional<ComputedLayout> ComputeLayout(const banktool::BankRecord& record, const Measure& measure,
                                            std::string& problem) {
    ComputedLayout layout;
    if (const banktool::PinnedRecord* pinned = banktool::FindPinnedRecord(record.name)) {
        layout.text = record.text;
        layout.label = {pinned->labelLeft, pinned->labelTop, pinned->labelWidth};
        layout.lineCount = static_cast<int>(banktool::LineBreakRuns(record.text).size()) + 1;
    } else {
        const std::string text = banktool::WithoutLineBreakRuns(record.text);
        std::optional<Wrapping> wrapping;
        for (int lines = 1; lines <= banktool::kMaxLineBreaks + 1 && !wrapping; ++lines) {
            for (bool afterOneLetterWords : {false, true}) {
                wrapping = BalancedWrapping(text, lines, afterOneLetterWords, measure);
                if (wrapping && LabelWidthFor(wrapping->widest) <= kLabelMaxWidth) break;
                wrapping.reset();
            }
        }
        if (!wrapping) {
            problem = "the question text does not fit on three lines of " + std::to_string(kLabelMaxWidth) + " pixels";
            return std::nullopt;
        }
        const int width = LabelWidthFor(wrapping->widest);
        layout.label = {(banktool::kWindowWidth - width) / 2, banktool::LabelTopFor(record.theme, record.number),
                        width};
        layout.lineCount = static_cast<int>(wrapping->lines.size());
        for (std::size_t i = 0; i < wrapping->lines.size(); ++i) {
            layout.text += wrapping->lines[i];
            if (i + 1 < wrapping->lines.size()) layout.text += FillingRun(wrapping->lines[i], width, measure);
        }
    }

    int widest = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const int width = std::max(banktool::kOptionMinWidth, measure.optionWidth(record.options[i]));
        if (width > banktool::kOptionMaxWidth) {
            problem = "option " + std::to_string(i + 1) + " needs " + std::to_string(width) + " pixels, more than " +
                      std::to_string(banktool::kOptionMaxWidth);
            return std::nullopt;
        }
        layout.options.widths[i] = width;
        widest = std::max(widest, width);
    }
    if (kOptionsPreferredLeft + widest <= kOptionsRightLimit) {
        layout.options.left = kOptionsPreferredLeft;
    } else if (kOptionsWideLeft + widest <= kOptionsRightLimit) {
        layout.options.left = kOptionsWideLeft;
    } else if (kOptionsRightLimit - widest >= kOptionsMinLeft) {
        layout.options.left = kOptionsRightLimit - widest;
    } else {
        problem = "an option needs " + std::to_string(widest) + " pixels and fits nowhere in the window";
        return std::nullopt;
    }
    if (const banktool::PinnedRecord* pinned = banktool::FindPinnedRecord(record.name)) {
        layout.options.left = pinned->optionsLeft;
    }
    return layout;
}

}  // namespace layouttool
