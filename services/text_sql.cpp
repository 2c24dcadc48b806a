#include "services/text_sql.h"

#include <system_error>

#include "services/no_case.h"

namespace sw {

std::optional<std::string> quoteName(std::string_view name) {
    if (name.empty() || name.size() > 128) {
        return std::nullopt;
    }
    for (char c : name) {
        // A bracketed name ends at the first "]"; there is no way to quote one inside it.
        if (c == ']' || c == '[' || static_cast<unsigned char>(c) < 0x20) {
            return std::nullopt;
        }
    }
    return "[" + std::string(name) + "]";
}

// "INSERT INTO name ..." gives name (brackets removed); any other statement nothing.
std::optional<std::string> insertTarget(std::string_view sql) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t at = 0;
    auto skipBlanks = [&] {
        std::size_t start = at;
        while (at < sql.size() && blank(sql[at])) {
            ++at;
        }
        return at > start;
    };
    auto word = [&](std::string_view expected) {
        if (findNoCase(sql.substr(at, expected.size()), expected) != 0) {
            return false;
        }
        at += expected.size();
        return true;
    };
    skipBlanks();
    if (!word("INSERT") || !skipBlanks() || !word("INTO") || !skipBlanks() || at >= sql.size()) {
        return std::nullopt;
    }
    std::size_t end = at;
    if (sql[at] == '[') {
        end = sql.find(']', at);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        return std::string(sql.substr(at + 1, end - at - 1));
    }
    while (end < sql.size() && !blank(sql[end]) && sql[end] != '(') {
        ++end;
    }
    return std::string(sql.substr(at, end - at));
}

// "SELECT cols INTO table FROM rest" makes a new table from the selected rows; SQLite says it
// as "CREATE TABLE table AS SELECT cols FROM rest".
std::string rewriteSelectInto(const std::string& sql) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    // The position of `word` standing alone (blanks on both sides) from `from` on.
    auto findWord = [&](std::string_view word, std::size_t from) {
        for (std::size_t at = findNoCase(sql, word, from); at != std::string::npos;
             at = findNoCase(sql, word, at + 1)) {
            bool before = at > 0 && blank(sql[at - 1]);
            bool after = at + word.size() < sql.size() && blank(sql[at + word.size()]);
            if (before && after) {
                return at;
            }
        }
        return std::string::npos;
    };
    std::size_t start = 0;
    while (start < sql.size() && blank(sql[start])) {
        ++start;
    }
    if (findNoCase(sql, "SELECT", start) != start || start + 6 >= sql.size() ||
        !blank(sql[start + 6])) {
        return sql;
    }
    std::size_t into = findWord("INTO", start + 6);
    if (into == std::string::npos) {
        return sql;
    }
    std::size_t nameStart = into + 4;
    while (nameStart < sql.size() && blank(sql[nameStart])) {
        ++nameStart;
    }
    std::size_t nameEnd = nameStart;
    if (nameEnd < sql.size() && sql[nameEnd] == '[') {
        nameEnd = sql.find(']', nameEnd);
        nameEnd = nameEnd == std::string::npos ? sql.size() : nameEnd + 1;
    } else {
        while (nameEnd < sql.size() && !blank(sql[nameEnd])) {
            ++nameEnd;
        }
    }
    std::size_t from = findWord("FROM", nameEnd > 0 ? nameEnd - 1 : 0);
    if (nameEnd == nameStart || from == std::string::npos) {
        return sql;
    }
    for (std::size_t i = nameEnd; i < from; ++i) {
        if (!blank(sql[i])) {
            return sql; // something between the table and FROM: not this form
        }
    }
    return "CREATE TABLE " + sql.substr(nameStart, nameEnd - nameStart) + " AS SELECT " +
           sql.substr(start + 7, into - start - 7) + " FROM " + sql.substr(from + 4);
}

std::optional<TextSourceRef> nextTextSource(std::string_view sql, std::size_t from,
                                            std::string& error) {
    static constexpr std::string_view kOpen = "[Text;Database=";
    static constexpr std::string_view kMiddle = ";HDR=NO].[";
    error.clear();
    const std::size_t open = findNoCase(sql, kOpen, from);
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t middle = findNoCase(sql, kMiddle, open + kOpen.size());
    if (middle == std::string_view::npos) {
        error = "Text file source without \";HDR=NO].[\": " + std::string(sql.substr(open));
        return std::nullopt;
    }
    const std::filesystem::path folder =
        sql.substr(open + kOpen.size(), middle - open - kOpen.size());
    const std::size_t nameStart = middle + kMiddle.size();
    // The file name ends at a "]"; a name may hold "]" itself, so take the first "]"
    // that ends the name of an existing file.
    std::size_t close = sql.find(']', nameStart);
    const std::size_t firstClose = close;
    while (close != std::string_view::npos) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(folder / sql.substr(nameStart, close - nameStart),
                                             ec)) {
            break;
        }
        close = sql.find(']', close + 1);
    }
    if (firstClose == std::string_view::npos) {
        error = "Text file source without closing \"]\": " + std::string(sql.substr(open));
        return std::nullopt;
    }
    if (close == std::string_view::npos) {
        error = "Text file not found: " +
                (folder / sql.substr(nameStart, firstClose - nameStart)).string();
        return std::nullopt;
    }
    return TextSourceRef{open, close + 1, folder / sql.substr(nameStart, close - nameStart)};
}

} // namespace sw
