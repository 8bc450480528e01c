#include "viewer/core/analysis/compiled_bank.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

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

// Each question's source is the line of its own name in its theme's file,
// read here from the file itself.
TEST(CompiledBank, SendsEachQuestionToItsLineInTheBankFiles) {
    const viewer::BankLookup lookup = viewer::CompiledBankLookup();
    for (const char* name : {"Tq11", "Tq1010", "Tq1207", "Tq1313"}) {
        const auto question = lookup(viewer::CompiledBankFingerprint(), name);
        ASSERT_TRUE(question && question->source) << name;
        ASSERT_TRUE(question->source->file.starts_with("content/bank/theme-")) << question->source->file;
        std::ifstream file(std::string(KALVENA_SOURCE_DIR) + "/" + question->source->file);
        std::string line;
        for (int number = 0; number < question->source->line && std::getline(file, line); ++number) {
        }
        EXPECT_EQ(line, "[" + std::string(name) + "]") << question->source->file << ":" << question->source->line;
    }
}

}  // namespace
