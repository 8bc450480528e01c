#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace resultslog {

// Windows-1251 byte of a Unicode code point, when the code page has one.
std::optional<unsigned char> ToCp1251Byte(char32_t codePoint);
// Whether a character may be typed into a field that ends up in the log:
// false for what the code page lacks and for control characters.
bool Cp1251CanEncode(char32_t codePoint);

// Code points of UTF-8 text; empty when the bytes are not valid UTF-8
// (overlong forms, surrogates, truncated or stray bytes).
std::optional<std::u32string> DecodeUtf8(std::string_view utf8);
bool IsUtf8(std::string_view bytes);
std::string EncodeUtf8(char32_t codePoint);

// Converts UTF-8 text; a character the code page lacks, or a malformed
// sequence, becomes '?'.
std::string Utf8ToCp1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view bytes);
// The same, appended to out; an unassigned byte becomes U+FFFD.
void AppendCp1251AsUtf8(std::string_view bytes, std::string& out);

}  // namespace resultslog
