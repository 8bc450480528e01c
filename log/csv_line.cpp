#include "log/csv_line.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace resultslog {

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

bool SplitCsvLine(std::string_view line, std::vector<std::string_view>& fields, std::string& scratch) {
    fields.clear();
    // What nearly every line is: no quoting at all, split in one pass.
    std::size_t start = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: the commas and quotes among them as bits.
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i quote = _mm_set1_epi8('"');
    for (; i + 16 <= line.size(); i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, quote)) != 0) break;
        auto commas = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, comma)));
        while (commas != 0) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(commas));
            fields.push_back(line.substr(start, at - start));
            start = at + 1;
            commas &= commas - 1;
        }
    }
#endif
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ',') {
            fields.push_back(line.substr(start, i - start));
            start = i + 1;
        } else if (c == '"') {
            break;
        }
    }
    if (i == line.size()) {
        fields.push_back(line.substr(start));
        return true;
    }
    fields.clear();
    // Unquoted text is never longer than the line, so the views into the
    // scratch string stay valid while it fills.
    scratch.clear();
    scratch.reserve(line.size());
    i = 0;
    for (;;) {
        if (i < line.size() && line[i] == '"') {
            const std::size_t begin = scratch.size();
            for (++i;; ++i) {
                if (i == line.size()) return false;
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        scratch += '"';
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                } else {
                    scratch += line[i];
                }
            }
            fields.push_back(std::string_view(scratch).substr(begin));
            if (i < line.size() && line[i] != ',') return false;
        } else {
            const std::size_t comma = line.find(',', i);
            const std::string_view field = line.substr(i, comma == std::string_view::npos ? line.npos : comma - i);
            if (field.find('"') != std::string_view::npos) return false;
            fields.push_back(field);
            i = comma == std::string_view::npos ? line.size() : comma;
        }
        if (i == line.size()) return true;
        ++i;  // the comma
    }
}

}  // namespace resultslog
