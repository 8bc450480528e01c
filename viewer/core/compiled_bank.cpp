#include "viewer/core/compiled_bank.h"

#include <string_view>

#include "content/question_bank.h"
#include "content/question_names.h"

namespace viewer {

namespace {

class Fnv1a {
public:
    void Add(std::string_view bytes) {
        for (const char c : bytes) {
            hash_ ^= static_cast<unsigned char>(c);
            hash_ *= 16777619u;
        }
        hash_ *= 16777619u;  // the zero byte after each field: xor with 0 is a no-op
    }
    std::uint32_t Value() const { return hash_; }

private:
    std::uint32_t hash_ = 2166136261u;
};

}  // namespace

std::uint32_t CompiledBankFingerprint() {
    static const std::uint32_t fingerprint = [] {
        Fnv1a hash;
        for (const content::QuestionRecord& question : content::AllQuestions()) {
            hash.Add(content::WindowClassName(question.id));
            hash.Add(question.text);
            for (const std::string_view option : question.options) hash.Add(option);
            hash.Add(std::string(1, static_cast<char>('0' + question.right)));
        }
        return hash.Value();
    }();
    return fingerprint;
}

BankLookup CompiledBankLookup() {
    return [](std::uint32_t bank, const std::string& name) -> std::optional<BankQuestion> {
        if (bank != CompiledBankFingerprint()) return std::nullopt;
        const auto id = content::ParseWindowClassName(name);
        if (!id) return std::nullopt;
        const content::QuestionRecord& record = content::Question(*id);
        BankQuestion question;
        question.text = record.text;
        for (std::size_t i = 0; i < 4; ++i) question.options[i] = record.options[i];
        question.right = record.right;
        return question;
    };
}

}  // namespace viewer
