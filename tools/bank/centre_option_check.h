#pragma once

#include "tools/bank/bank_record.h"
#include "tools/bank/diagnostics.h"

namespace banktool {

// Refuses a right option made the centre of its set: wrong options built by
// changing one feature of it each leave it the one option that shares a word
// with every other, so "the option with most in common" wins. A word all
// four share tells nothing. A balanced set, two features of two values each
// («Ремонтная рота», «Ремонтный батальон», «Автомобильная рота»,
// «Автомобильный батальон»), has no single centre: whatever links the right
// option to all three links its opposite corner to all three as well.
void CheckCentreOption(const BankRecord& record, Diagnostics& diagnostics);

}  // namespace banktool
