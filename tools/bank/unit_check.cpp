#include "tools/bank/unit_check.h"

#include "tools/bank/numeric_options.h"

namespace banktool {

void CheckLoneUnit(const BankRecord& record, Diagnostics& diagnostics) {
    const auto units = NumericUnits(record.options);
    if (!units) return;
    const auto right = static_cast<std::size_t>(record.right - 1);
    for (std::size_t i = 0; i < 4; ++i) {
        if (i != right && (*units)[i] == (*units)[right]) return;
    }
    const std::string unit = (*units)[right].empty() ? "no unit" : "«" + (*units)[right] + "»";
    diagnostics.Add(record.file, record.LineOf(OptionKey(record.right)),
                    "[" + record.name + "] the right value alone is written in " + unit +
                        "; write a wrong value in its unit too, or all four in one");
}

}  // namespace banktool
