#include "hurricanes/storm_names.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace sw {
namespace {

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

void addName(std::vector<std::string>& names, std::string_view item) {
    item = trimBlanks(item);
    if (item.size() >= 2 && item.front() == '"' && item.back() == '"') {
        item = item.substr(1, item.size() - 2);
    }
    if (!item.empty()) {
        names.emplace_back(item);
    }
}

} // namespace

std::string stormNameFileName(int year) {
    return std::to_string(year) + "_hurricanes.txt";
}

std::vector<std::string> parseStormNames(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3); // a byte-order mark left by a Windows editor
    }
    std::vector<std::string> names;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (c == '\n' || c == '\r' || (c == ',' && !quoted)) {
            addName(names, text.substr(start, i - start));
            start = i + 1;
            quoted = false;
        }
    }
    addName(names, text.substr(start));
    return names;
}

StormNameList loadStormNames(const std::filesystem::path& folder, int year) {
    const std::filesystem::path path = folder / stormNameFileName(year);
    StormNameList list;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        list.problem = path.string() + " is missing";
        return list;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in || in.bad()) {
        list.problem = path.string() + " cannot be read";
        return list;
    }
    list.names = parseStormNames(text.str());
    return list;
}

} // namespace sw
