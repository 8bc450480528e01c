#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace testsupport {

// Text converted by glibc, independent of the program's own converter.
inline std::string Iconv(const char* to, const char* from, std::string_view text) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv cannot convert to " + std::string(to));
    std::string in(text);
    std::string out(in.size() * 3, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t result = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1)) throw std::runtime_error("text not convertible to " + std::string(to));
    out.resize(out.size() - outLeft);
    return out;
}

// Windows-1251 bytes of UTF-8 text, and back.
inline std::string Cp1251(std::string_view utf8) { return Iconv("CP1251", "UTF-8", utf8); }
inline std::string Utf8FromCp1251(std::string_view bytes) { return Iconv("UTF-8", "CP1251", bytes); }

}  // namespace testsupport
