#include "tools/bank/numeric_order_check.h"

#include <algorithm>
#include <optional>

#include "tools/bank/numeric_options.h"

namespace banktool {
namespace {

using Values = std::array<double, 4>;

bool InOrder(const std::vector<double>& values) {
    bool rising = true;
    bool falling = true;
    for (std::size_t i = 1; i < values.size(); ++i) {
        rising = rising && values[i - 1] < values[i];
        falling = falling && values[i - 1] > values[i];
    }
    return rising || falling;
}

// The position (1–4) of an option without which the other three stand in
// order, the right one first; nothing where all four stand in order or no
// three do.
std::optional<int> OptionBreakingOrder(const Values& values, int right) {
    if (InOrder({values.begin(), values.end()})) return std::nullopt;
    std::optional<int> breaking;
    for (int position = 1; position <= 4; ++position) {
        std::vector<double> others;
        for (int other = 1; other <= 4; ++other) {
            if (other != position) others.push_back(values[static_cast<std::size_t>(other - 1)]);
        }
        if (InOrder(others) && (!breaking || position == right)) breaking = position;
    }
    return breaking;
}

bool RightIsExtreme(const Values& values, int right) {
    const double value = values[static_cast<std::size_t>(right - 1)];
    return value == *std::min_element(values.begin(), values.end()) ||
           value == *std::max_element(values.begin(), values.end());
}

}  // namespace

void CheckNumericOrder(const BankRecord& record, Diagnostics& diagnostics) {
    const auto values = NumericValues(record.options);
    if (!values) return;
    const auto breaking = OptionBreakingOrder(*values, record.right);
    if (!breaking) return;
    diagnostics.Add(record.file, record.LineOf(OptionKey(record.right)),
                    "[" + record.name + "] three of the numbers stand in order and option " +
                        std::to_string(*breaking) +
                        " breaks it; order all four by size or mix them so that no three stand in order");
}

void CheckNumericKeyBalance(const std::vector<BankRecord>& records, Diagnostics& diagnostics) {
    std::vector<const BankRecord*> numeric;
    std::vector<const BankRecord*> extreme;
    std::vector<const BankRecord*> middle;
    for (const BankRecord& record : records) {
        if (record.right < 1 || record.right > 4) continue;
        const auto values = NumericValues(record.options);
        if (!values) continue;
        numeric.push_back(&record);
        (RightIsExtreme(*values, record.right) ? extreme : middle).push_back(&record);
    }
    const std::size_t total = numeric.size();
    if (total == 0 || (100 * extreme.size() >= 40 * total && 100 * extreme.size() <= 60 * total)) return;
    const std::size_t percent = (100 * extreme.size() + total / 2) / total;
    const BankRecord& first = *numeric.front();
    diagnostics.Add(first.file, first.LineOf(OptionKey(first.right)),
                    "the key is the smallest or largest value in " + std::to_string(extreme.size()) + " of " +
                        std::to_string(total) + " numeric questions (" + std::to_string(percent) +
                        " %); it must be 40–60 %");
    const bool tooFew = 100 * extreme.size() < 40 * total;
    for (const BankRecord* record : tooFew ? middle : extreme) {
        diagnostics.Add(record->file, record->LineOf(OptionKey(record->right)),
                        "[" + record->name + "] the key is " +
                            (tooFew ? "between the smallest and largest values" : "the smallest or largest value"),
                        Severity::note);
    }
}

}  // namespace banktool
