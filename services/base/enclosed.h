#pragma once
// A text between two marks ("\"Tower 7\"", "[COORD]"), for messages and SQL names. Built by
// appending: GCC 12 at -O3 warns, wrongly, of overlapping copies in "\"" + std::string(...).

#include <string>
#include <string_view>

namespace sw {

inline std::string enclosed(std::string_view text, char open = '"', char close = '"') {
    std::string out;
    out.reserve(text.size() + 2);
    out += open;
    out += text;
    out += close;
    return out;
}

} // namespace sw
