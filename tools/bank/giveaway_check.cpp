#include "tools/bank/giveaway_check.h"

#include "tools/bank/excuse.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "log/cp1251.h"
#include "tools/bank/centre_option_check.h"
#include "tools/bank/echo_check.h"
#include "tools/bank/numeric_order_check.h"
#include "tools/bank/option_words.h"
#include "tools/bank/unit_check.h"

namespace banktool {
namespace {

using Options = std::array<std::string, 4>;

bool HasWordOnly(const std::string& option) {
    const auto words = CyrillicWords(option);
    return std::find(words.begin(), words.end(), U"только") != words.end();
}

bool OnlyRightLacksOnly(const Options& options, int right) {
    for (int position = 1; position <= 4; ++position) {
        if (HasWordOnly(options[static_cast<std::size_t>(position - 1)]) == (position == right)) return false;
    }
    return true;
}

std::size_t Length(std::string_view text) {
    while (text.starts_with(' ')) text.remove_prefix(1);
    while (text.ends_with(' ')) text.remove_suffix(1);
    const auto codePoints = resultslog::DecodeUtf8(text);
    return codePoints ? codePoints->size() : text.size();
}

// More than 1.3 times, in whole numbers: 10 × right > 13 × longest wrong.
bool RightFarLonger(const Options& options, int right) {
    std::size_t longestWrong = 0;
    for (int position = 1; position <= 4; ++position) {
        if (position != right)
            longestWrong = std::max(longestWrong, Length(options[static_cast<std::size_t>(position - 1)]));
    }
    return 10 * Length(options[static_cast<std::size_t>(right - 1)]) > 13 * longestWrong;
}

}  // namespace

void CheckGiveaways(const BankRecord& record, Diagnostics& diagnostics) {
    if (record.right < 1 || record.right > 4) return;  // reported elsewhere
    const std::string where = "[" + record.name + "] ";
    const int rightLine = record.LineOf(OptionKey(record.right));
    CheckNumericOrder(record, diagnostics);
    CheckWordingEchoes(record, diagnostics);
    CheckCentreOption(record, diagnostics);
    CheckLoneUnit(record, diagnostics);
    if (OnlyRightLacksOnly(record.options, record.right)) {
        diagnostics.Add(record.file, rightLine,
                        where + "«только» stands in every wrong option and not in the right one");
    }
    const bool farLonger = RightFarLonger(record.options, record.right);
    if (!Excused(record, kLongRightKey, farLonger, diagnostics) && farLonger) {
        diagnostics.Add(record.file, rightLine,
                        where +
                            "the right option is more than 1.3 times as long as the longest wrong one; "
                            "shorten it, lengthen the others, or say why in a 'длинный верный:' line");
    }
}

}  // namespace banktool
