#pragma once

#include "tools/bank/bank_record.h"
#include "tools/bank/diagnostics.h"

namespace banktool {

// The bank's spelling rules: no «ё» (the field manuals print «е»), and an
// option begins in lower case when it continues a text that ends with a
// colon, with a capital otherwise. A first word written in capitals (ВВС,
// ДП-5В, А), a number or a quotation keeps its own form.
void CheckWording(const BankRecord& record, Diagnostics& diagnostics);

}  // namespace banktool
