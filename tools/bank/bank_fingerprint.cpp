#include "tools/bank/bank_fingerprint.h"

#include <string>
#include <string_view>

#include "content/question_names.h"

namespace banktool {

namespace {

constexpr std::uint32_t kFnvOffset = 2166136261u;
constexpr std::uint32_t kFnvPrime = 16777619u;

// The zero byte keeps "ab" + "c" apart from "a" + "bc".
void Mix(std::uint32_t& hash, std::string_view field) {
    for (const char c : field) hash = (hash ^ static_cast<unsigned char>(c)) * kFnvPrime;
    hash *= kFnvPrime;  // the zero byte: XOR with 0 leaves the hash as it is
}

}  // namespace

std::uint32_t BankFingerprint(const std::vector<BankRecord>& records) {
    std::uint32_t hash = kFnvOffset;
    for (const BankRecord& record : records) {
        Mix(hash, content::WindowClassName({record.theme, record.number}));
        Mix(hash, record.text);
        for (const std::string& option : record.options) Mix(hash, option);
        Mix(hash, std::to_string(record.right));
    }
    return hash;
}

}  // namespace banktool
