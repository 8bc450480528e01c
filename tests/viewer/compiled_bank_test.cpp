#include "viewer/core/compiled_bank.h"

#include <gtest/gtest.h>

namespace {

// The wording comes with the bank the record was written with, and only then.
TEST(CompiledBank, GivesTheWordingOnlyForItsOwnFingerprint) {
    const viewer::BankLookup lookup = viewer::CompiledBankLookup();
    const std::uint32_t fingerprint = viewer::CompiledBankFingerprint();
    for (const char* name : {"Tq11", "Tq1010", "Tq1101", "Tq1313"}) {
        const auto question = lookup(fingerprint, name);
        ASSERT_TRUE(question) << name;
        EXPECT_FALSE(question->text.empty()) << name;
        EXPECT_FALSE(question->options[3].empty()) << name;
        EXPECT_TRUE(question->right >= 1 && question->right <= 4) << name;
    }
    EXPECT_FALSE(lookup(fingerprint, "Tq1314"));
    EXPECT_FALSE(lookup(fingerprint ^ 1u, "Tq11"));
}

}  // namespace
