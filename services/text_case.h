#pragma once
// Comparing names without regard to case, as shapefile field names, file extensions and
// database column names are matched. Only the ASCII letters fold: a UTF-8 byte of a
// non-ASCII character is compared as it is, so two different names never match by accident.

#include <algorithm>
#include <string>
#include <string_view>

namespace sw {

constexpr char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr bool equalsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

inline std::string asciiUpperCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), asciiUpper);
    return result;
}

} // namespace sw
