#include "tools/bank/bank_check.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "content/question_names.h"
#include "engine/theme_table.h"
#include "log/cp1251.h"
#include "tools/bank/bank_rules.h"
#include "tools/bank/bank_text.h"
#include "tools/bank/giveaway_check.h"
#include "tools/bank/numeric_order_check.h"
#include "tools/bank/theme_leak_check.h"
#include "tools/bank/typography_check.h"
#include "tools/bank/wording_check.h"

namespace banktool {
namespace {

class RecordChecker {
public:
    RecordChecker(const BankRecord& record, Diagnostics& diagnostics)
        : record_(record), diagnostics_(diagnostics), where_("[" + record.name + "] ") {}

    void Check() {
        CheckText();
        for (int position = 1; position <= 4; ++position) CheckOption(position);
        CheckOptionsDistinct();
        CheckRight();
        CheckPictureBox();
        CheckLabel();
        CheckOptionsLayout();
        CheckWindowDesign();
        CheckWording(record_, diagnostics_);
        CheckTypography(record_, diagnostics_);
        CheckGiveaways(record_, diagnostics_);
    }

private:
    void Error(std::string_view key, const std::string& message) {
        diagnostics_.Add(record_.file, record_.LineOf(key), where_ + message);
    }

    // Length in characters, or -1 after reporting a character the bank
    // may not hold.
    int CheckCharacters(std::string_view key, std::string_view what, const std::string& value) {
        const auto codePoints = resultslog::DecodeUtf8(value);
        if (!codePoints) return -1;  // already reported for the line
        bool clean = true;
        std::u32string reported;  // each stray character once per value
        for (char32_t c : *codePoints) {
            if (reported.find(c) != std::u32string::npos) continue;
            reported += c;
            if (IsLineBreakCharacter(c)) {
                Error(key, std::string(what) + " contains a line-break character " + DescribeCharacter(c));
                clean = false;
            } else if (!resultslog::ToCp1251Byte(c)) {
                Error(key,
                      std::string(what) + " contains " + DescribeCharacter(c) + ", which Windows-1251 cannot encode");
                clean = false;
            } else if (!IsAllowedCharacter(c)) {
                Error(key, std::string(what) + " contains " + DescribeCharacter(c) +
                               "; allowed are Russian letters, digits, space and , - – . : ? ( ) / ° « » \" …");
                clean = false;
            }
        }
        return clean ? static_cast<int>(codePoints->size()) : -1;
    }

    void CheckText() {
        if (record_.source.Find(kTextKey) == nullptr) return;  // reported as missing
        const std::string& text = record_.text;
        const int length = CheckCharacters(kTextKey, "the question text", text);
        if (length >= 0 && (length < kTextMinLength || length > kTextMaxLength)) {
            Error(kTextKey, "the question text has " + std::to_string(length) + " characters; it must have " +
                                std::to_string(kTextMinLength) + " to " + std::to_string(kTextMaxLength));
        }
        const auto runs = LineBreakRuns(text);
        if (runs.size() > static_cast<std::size_t>(kMaxLineBreaks)) {
            Error(kTextKey, "the question text has " + std::to_string(runs.size()) +
                                " line breaks (runs of 5 or more spaces); the label shows at most three lines");
        }
        for (const SpaceRun& run : runs) {
            if (run.offset == 0 || run.offset + run.length == text.size()) {
                Error(kTextKey,
                      "a run of 5 or more spaces at the start or end of the question text breaks an "
                      "empty line");
            }
        }
    }

    void CheckOption(int position) {
        const std::string key = OptionKey(position);
        if (record_.source.Find(key) == nullptr) return;  // reported as missing
        const std::string& option = record_.options[static_cast<std::size_t>(position - 1)];
        const std::string what = "option " + key;
        const int length = CheckCharacters(key, what, option);
        if (length >= 0 && (length < 1 || length > kOptionMaxLength)) {
            Error(key, what + " has " + std::to_string(length) + " characters; it must have 1 to " +
                           std::to_string(kOptionMaxLength));
        }
    }

    static std::string_view Trimmed(std::string_view text) {
        while (text.starts_with(' ')) text.remove_prefix(1);
        while (text.ends_with(' ')) text.remove_suffix(1);
        return text;
    }

    void CheckOptionsDistinct() {
        for (int a = 0; a < 4; ++a) {
            for (int b = a + 1; b < 4; ++b) {
                const auto& first = record_.options[static_cast<std::size_t>(a)];
                const auto& second = record_.options[static_cast<std::size_t>(b)];
                if (!first.empty() && Trimmed(first) == Trimmed(second)) {
                    Error(OptionKey(b + 1), "options " + std::to_string(a + 1) + " and " + std::to_string(b + 1) +
                                                " read the same; the four options must differ");
                }
            }
        }
    }

    void CheckRight() {
        if (record_.right == kUnreadRight) return;  // missing or malformed, reported
        if (record_.right < 1 || record_.right > 4) {
            Error(kRightKey, "the right option must be 1, 2, 3 or 4, not " + std::to_string(record_.right));
            return;
        }
        const std::vector<int> key = RightPositions(record_.theme);
        if (record_.number <= static_cast<int>(key.size())) {
            const int expected = key[static_cast<std::size_t>(record_.number - 1)];
            if (record_.right != expected) {
                Error(kRightKey, "the right option is " + std::to_string(record_.right) + ", but question " +
                                     std::to_string(record_.number) + " of theme " + std::to_string(record_.theme) +
                                     " must have " + std::to_string(expected));
            }
        }
    }

    void CheckPictureBox() {
        const MapSignPicture* sign = FindMapSignPicture(record_.theme, record_.number);
        if (sign == nullptr) {
            if (record_.picture) Error(kPictureKey, "only questions 14 to 20 of theme 5 have a picture");
            return;
        }
        if (!record_.picture) {
            if (record_.source.Find(kPictureKey) == nullptr) {
                Error(kPictureKey, "has no 'рисунок:' line; this question shows a picture");
            }
            return;
        }
        const app::Rect& box = *record_.picture;
        if (box.top != kPictureTop) Error(kPictureKey, "the picture's top must be " + std::to_string(kPictureTop));
        if (std::abs(2 * box.left + box.width - 2 * kWindowCentre) > 1) {
            Error(kPictureKey, "the picture's box must be centred on x = 400 within half a pixel");
        }
        if (!sign->clippedByBox && (box.width <= sign->extent.right || box.height <= sign->extent.bottom)) {
            Error(kPictureKey, "the box " + std::to_string(box.width) + " × " + std::to_string(box.height) +
                                   " does not cover the drawing, which reaches x = " +
                                   std::to_string(sign->extent.right) + ", y = " + std::to_string(sign->extent.bottom));
        }
        const app::Rect& expected = sign->box;
        if (box.left != expected.left || box.top != expected.top || box.width != expected.width ||
            box.height != expected.height) {
            Error(kPictureKey, "the picture's box must be " + std::to_string(expected.left) + " " +
                                   std::to_string(expected.top) + " " + std::to_string(expected.width) + " " +
                                   std::to_string(expected.height) + " to fit its drawing");
        }
    }

    void CheckLabel() {
        if (!record_.label) return;
        const LabelLayout& label = *record_.label;
        const int top = LabelTopFor(record_.theme, record_.number);
        if (label.top != top) Error(kLabelKey, "the label's top must be " + std::to_string(top));
        if (label.width < kLabelMinWidth || label.width > kLabelMaxWidth) {
            Error(kLabelKey, "the label's width " + std::to_string(label.width) + " is outside " +
                                 std::to_string(kLabelMinWidth) + " … " + std::to_string(kLabelMaxWidth));
        }
        if (std::abs(2 * label.left + label.width - 2 * kWindowCentre) > 2 * kLabelCentreTolerance) {
            Error(kLabelKey,
                  "the label's centre must lie within " + std::to_string(kLabelCentreTolerance) + " pixels of x = 400");
        }
        if (label.left < 0 || label.left + label.width > kWindowWidth) {
            Error(kLabelKey, "the label must lie within the window's 800 pixels");
        }
    }

    void CheckOptionsLayout() {
        if (!record_.optionsLayout) return;
        const OptionsLayout& options = *record_.optionsLayout;
        if (options.left < 0) Error(kOptionsKey, "the options' left edge must not be negative");
        for (std::size_t i = 0; i < 4; ++i) {
            const int width = options.widths[i];
            if (width < kOptionMinWidth || width > kOptionMaxWidth) {
                Error(kOptionsKey, "option " + std::to_string(i + 1) + "'s width " + std::to_string(width) +
                                       " is outside " + std::to_string(kOptionMinWidth) + " … " +
                                       std::to_string(kOptionMaxWidth));
            } else if (options.left + width > kWindowWidth) {
                Error(kOptionsKey, "option " + std::to_string(i + 1) + " reaches x = " +
                                       std::to_string(options.left + width) + ", past the window's 800 pixels");
            }
        }
    }

    void CheckWindowDesign() {
        if (!record_.window) return;
        const content::QuestionWindowDesign& window = *record_.window;
        if (window == content::QuestionWindowDesign{}) {
            Error(kWindowKey, "the window is designed like every other: leave the 'окно:' line out");
        }
        if (window.clientHeight > kWindowMaxHeight) {
            Error(kWindowKey, "the window's height " + std::to_string(window.clientHeight) + " is more than " +
                                  std::to_string(kWindowMaxHeight));
        }
        const auto& tops = window.optionTops;
        if (tops[0] < kOptionsMinTop) {
            Error(kWindowKey, "the first option's top " + std::to_string(tops[0]) + " is above " +
                                  std::to_string(kOptionsMinTop) + ", where the picture and the text stand");
        }
        for (std::size_t i = 1; i < tops.size(); ++i) {
            if (tops[i] < tops[i - 1] + kRowHeight) {
                Error(kWindowKey, "option " + std::to_string(i + 1) + " at top " + std::to_string(tops[i]) +
                                      " overlaps option " + std::to_string(i) + " above it");
            }
        }
        if (window.buttonsTop < tops[3] + kRowHeight) {
            Error(kWindowKey, "the buttons at top " + std::to_string(window.buttonsTop) + " overlap option 4");
        }
        if (window.buttonsTop + kRowHeight > window.clientHeight) {
            Error(kWindowKey, "the buttons at top " + std::to_string(window.buttonsTop) + " reach below the window's " +
                                  std::to_string(window.clientHeight) + " pixels");
        }
        if (window.startLeft < 0 || window.startLeft + kStartWidth > kExitLeft) {
            Error(kWindowKey, "the forward button at left " + std::to_string(window.startLeft) +
                                  " must stand within the window, left of the leave button at " +
                                  std::to_string(kExitLeft));
        }
    }

    const BankRecord& record_;
    Diagnostics& diagnostics_;
    std::string where_;
};

// The title's home is the theme table; the file's first line repeats it so
// that an editor sees which theme the file holds.
void CheckHeading(const BankFile& file, Diagnostics& diagnostics) {
    const std::string expected = "# Тема " + std::to_string(file.theme) + ". " + engine::Theme(file.theme).title;
    if (!file.lines.empty() && file.lines.front() == expected) return;
    diagnostics.Add(file.path, 1,
                    "the first line must read \"" + expected +
                        "\", the theme's title as the theme table "
                        "(engine/theme_table.h) gives it");
}

void CheckNamesAndCount(const BankFile& file, Diagnostics& diagnostics) {
    const int bankSize = engine::Theme(file.theme).BankSize;
    const int count = static_cast<int>(file.records.size());
    for (int index = 0; index < count && index < bankSize; ++index) {
        const RecordBlock& block = file.records[static_cast<std::size_t>(index)];
        const std::string expected = content::WindowClassName({file.theme, index + 1});
        if (block.name == expected) continue;
        std::string message = "expected [" + expected + "] here, found [" + block.name + "]";
        if (const auto other = content::ParseWindowClassName(block.name); other && other->theme != file.theme) {
            message += ", a question of theme " + std::to_string(other->theme);
        }
        diagnostics.Add(file.path, block.line, message + "; records stand in number order without gaps");
    }
    if (count > bankSize) {
        const RecordBlock& extra = file.records[static_cast<std::size_t>(bankSize)];
        diagnostics.Add(file.path, extra.line,
                        "theme " + std::to_string(file.theme) + " has " + std::to_string(bankSize) + " questions; [" +
                            extra.name + "] and any after it are too many");
    } else if (count < bankSize) {
        diagnostics.Add(file.path, static_cast<int>(file.lines.size()),
                        "theme " + std::to_string(file.theme) + " needs " + std::to_string(bankSize) +
                            " questions, the file has " + std::to_string(count) + " (first missing: [" +
                            content::WindowClassName({file.theme, count + 1}) + "])");
    }
}

void CheckRepeatedTexts(const std::vector<BankRecord>& records, Diagnostics& diagnostics) {
    auto isMapSign = [](const BankRecord& record) {
        for (std::string_view name : kMapSignQuestions) {
            if (record.name == name) return true;
        }
        return false;
    };
    std::map<std::string, const BankRecord*> firstWithText;
    for (const BankRecord& record : records) {
        // Texts that differ only in their line breaks read the same to a student.
        const std::string text = WithoutLineBreakRuns(record.text);
        if (isMapSign(record)) {
            if (record.text != kMapSignText) {
                diagnostics.Add(record.file, record.LineOf(kTextKey),
                                "[" + record.name + "] must read \"" + std::string(kMapSignText) +
                                    "\" like the other map-sign questions");
            }
            continue;
        }
        if (text == kMapSignText) {
            diagnostics.Add(record.file, record.LineOf(kTextKey),
                            "[" + record.name + "] repeats the text of the map-sign questions");
            continue;
        }
        const auto [it, inserted] = firstWithText.emplace(text, &record);
        if (!inserted) {
            diagnostics.Add(record.file, record.LineOf(kTextKey),
                            "[" + record.name + "] repeats the text of [" + it->second->name + "] (" +
                                it->second->file + ":" + std::to_string(it->second->LineOf(kTextKey)) + ")");
        }
    }
}

const BankRecord* FindRecord(const std::vector<BankRecord>& records, std::string_view name) {
    for (const BankRecord& record : records) {
        if (record.name == name) return &record;
    }
    return nullptr;
}

// Questions that look alike and differ in their pictures and right options.
void CheckMapSignPairs(const std::vector<BankRecord>& records, Diagnostics& diagnostics) {
    const BankRecord* tq515 = FindRecord(records, "Tq515");
    const BankRecord* tq519 = FindRecord(records, "Tq519");
    if (tq515 != nullptr && tq519 != nullptr) {
        if (tq515->options != tq519->options) {
            diagnostics.Add(tq519->file, tq519->source.line,
                            "[Tq519] must have the options of [Tq515] in the same order");
        }
        if (tq515->right != 4 || tq519->right != 3) {
            diagnostics.Add(tq519->file, tq519->LineOf(kRightKey),
                            "[Tq515] and [Tq519] must have right options 4 and 3");
        }
    }
    const BankRecord* tq516 = FindRecord(records, "Tq516");
    const BankRecord* tq520 = FindRecord(records, "Tq520");
    if (tq516 != nullptr && tq520 != nullptr) {
        auto sorted = [](std::array<std::string, 4> options) {
            std::sort(options.begin(), options.end());
            return options;
        };
        if (tq516->options == tq520->options || sorted(tq516->options) != sorted(tq520->options)) {
            diagnostics.Add(tq520->file, tq520->source.line,
                            "[Tq520] must have the options of [Tq516] in another order");
        }
        if (tq516->right != 2 || tq520->right != 2) {
            diagnostics.Add(tq520->file, tq520->LineOf(kRightKey), "[Tq516] and [Tq520] must both have right option 2");
        }
    }
}

void CheckPinnedRecords(const std::vector<BankRecord>& records, Diagnostics& diagnostics) {
    for (const PinnedRecord& pinned : PinnedRecords()) {
        const BankRecord* record = FindRecord(records, pinned.name);
        if (record == nullptr) continue;  // reported as missing
        auto differs = [&](std::string_view key, const std::string& what) {
            diagnostics.Add(record->file, record->LineOf(key),
                            "[" + record->name + "] is fixed content: its " + what + " must read exactly as given");
        };
        if (record->text != pinned.text) differs(kTextKey, "text");
        for (std::size_t i = 0; i < 4; ++i) {
            if (record->options[i] != pinned.options[i]) differs(OptionKey(static_cast<int>(i) + 1), "option");
        }
        if (record->right != pinned.right) differs(kRightKey, "right option");
        if (record->label && (record->label->left != pinned.labelLeft || record->label->top != pinned.labelTop ||
                              record->label->width != pinned.labelWidth)) {
            differs(kLabelKey,
                    "label, " + FormatLabelLayout({pinned.labelLeft, pinned.labelTop, pinned.labelWidth}) + ",");
        }
        if (record->optionsLayout && record->optionsLayout->left != pinned.optionsLeft) {
            differs(kOptionsKey, "options' left edge, " + std::to_string(pinned.optionsLeft) + ",");
        }
    }
}

}  // namespace

std::vector<BankRecord> CheckBank(const std::vector<BankFile>& files, Diagnostics& diagnostics) {
    std::vector<BankRecord> records;
    for (const BankFile& file : files) {
        CheckHeading(file, diagnostics);
        CheckNamesAndCount(file, diagnostics);
        int number = 0;
        for (const RecordBlock& block : file.records) {
            records.push_back(ReadRecord(file, block, ++number, diagnostics));
            RecordChecker(records.back(), diagnostics).Check();
        }
    }
    CheckRepeatedTexts(records, diagnostics);
    CheckMapSignPairs(records, diagnostics);
    CheckPinnedRecords(records, diagnostics);
    CheckThemeLeaks(records, diagnostics);
    CheckNumericKeyBalance(records, diagnostics);
    return records;
}

}  // namespace banktool
