#pragma once
// Comparing names without regard to ASCII case: column, field and table names match so
// (LONGITUDE, Longitude, longitude), as the files and databases the program reads expect.

#include <algorithm>
#include <string>
#include <string_view>

namespace sw {

constexpr char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

inline std::string upperAscii(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return upperAscii(c); });
    return out;
}

// Where `needle` first stands in `text` from `from` on, without regard to ASCII case.
inline std::size_t findNoCase(std::string_view text, std::string_view needle,
                              std::size_t from = 0) {
    for (std::size_t i = from; needle.size() <= text.size() && i + needle.size() <= text.size();
         ++i) {
        if (equalsNoCase(text.substr(i, needle.size()), needle)) {
            return i;
        }
    }
    return std::string_view::npos;
}

} // namespace sw
