#include "log/cp1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>

#include "tests/log/log_test_support.h"

namespace {

using namespace resultslog;

// One glibc conversion of the given bytes; nullopt when glibc refuses them.
class GlibcConverter {
public:
    GlibcConverter(const char* to, const char* from) : converter_(iconv_open(to, from)) {}
    ~GlibcConverter() {
        if (Valid()) iconv_close(converter_);
    }
    GlibcConverter(const GlibcConverter&) = delete;
    GlibcConverter& operator=(const GlibcConverter&) = delete;

    bool Valid() const { return converter_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> Convert(std::string in) {
        iconv(converter_, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* inPtr = in.data();
        char* outPtr = buffer;
        std::size_t inLeft = in.size();
        std::size_t outLeft = sizeof buffer;
        if (iconv(converter_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
        return std::string(buffer, outPtr);
    }

private:
    iconv_t converter_;
};

TEST(Cp1251, EveryByteDecodesAsGlibcDoes) {
    GlibcConverter glibc("UTF-8", "CP1251");
    ASSERT_TRUE(glibc.Valid());
    for (int byte = 0; byte < 256; ++byte) {
        const std::string in(1, static_cast<char>(byte));
        const auto expected = glibc.Convert(in);
        // 0x98 is unassigned in the code page.
        EXPECT_EQ(Cp1251ToUtf8(in), expected.value_or("\uFFFD")) << "byte " << byte;
        EXPECT_EQ(expected.has_value(), byte != 0x98) << "byte " << byte;
    }
}

TEST(Cp1251, EveryCodePointEncodesAsGlibcDoes) {
    GlibcConverter glibc("CP1251", "UTF-32LE");
    ASSERT_TRUE(glibc.Valid());
    int encodable = 0;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::string in(4, '\0');
        for (int i = 0; i < 4; ++i) in[i] = static_cast<char>((cp >> (8 * i)) & 0xFF);
        auto expected = glibc.Convert(in);
        // glibc drops the language tag characters U+E0000..U+E007F silently.
        if (expected && expected->empty()) expected.reset();
        const auto actual = ToCp1251Byte(cp);
        ASSERT_EQ(actual.has_value(), expected.has_value()) << "U+" << std::hex << static_cast<unsigned>(cp);
        if (actual) {
            ASSERT_EQ(std::string(1, static_cast<char>(*actual)), *expected)
                << "U+" << std::hex << static_cast<unsigned>(cp);
            ++encodable;
        }
    }
    EXPECT_EQ(encodable, 255);
}

TEST(Cp1251, EntryFilterRefusesControlsAndForeignCharacters) {
    for (char32_t cp : {U'\0', U'\t', U'\n', U'\r', U'\x1F', U'\x7F', U'\u0098', U'\u65E5', U'\uFFFD', U'\U0001F600'}) {
        EXPECT_FALSE(Cp1251CanEncode(cp)) << "U+" << std::hex << static_cast<unsigned>(cp);
    }
    for (char32_t cp : {U' ', U'%', U'~', U'Ё', U'я', U'№', U'€', U'\u00A0', U'Ґ', U'—'}) {
        EXPECT_TRUE(Cp1251CanEncode(cp)) << "U+" << std::hex << static_cast<unsigned>(cp);
    }
}

TEST(Cp1251, Utf8TextConvertsBothWays) {
    std::string every;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != 0x98) every += static_cast<char>(byte);
    }
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(every)), every);
    EXPECT_EQ(Utf8ToCp1251("Петров П.П. № 5"), logtest::Cp1251("Петров П.П. № 5"));
    // Characters the code page lacks and ill-formed UTF-8 (overlong form,
    // surrogate, stray and truncated bytes) each leave '?' without eating
    // the text around them.
    EXPECT_EQ(Utf8ToCp1251("a日b"), "a?b");
    EXPECT_EQ(Utf8ToCp1251("a\xC0\xAF"
                           "b\xED\xA0\x80"
                           "c\x80"
                           "d\xD0"),
              "a??b???c?d?");
    EXPECT_EQ(Utf8ToCp1251("\xD0"
                           "Я"),
              "?" + logtest::Cp1251("Я"));
}

}  // namespace
