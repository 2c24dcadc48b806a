#include "services/database/text_sql.h"

#include <algorithm>

#include "services/base/enclosed.h"
#include "services/base/no_case.h"

namespace sw {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

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
    return enclosed(name, '[', ']');
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

std::optional<TextSourceRef> findTextSource(std::string_view sql, std::string& error) {
    static constexpr std::string_view kOpen = "[Text;Database=";
    static constexpr std::string_view kMiddle = ";HDR=NO].[";
    error.clear();
    // The reference is a token of the statement: looked for outside string literals, quoted
    // names and comments, so a text that merely looks like one is left alone.
    std::size_t open = std::string_view::npos;
    for (std::size_t i = 0; i < sql.size() && open == std::string_view::npos; ++i) {
        const char c = sql[i];
        if (c == '\'' || c == '"' || c == '`') {
            // A doubled quote inside stands for one; the scan resumes after the closing one.
            for (++i; i < sql.size(); ++i) {
                if (sql[i] == c) {
                    if (i + 1 < sql.size() && sql[i + 1] == c) {
                        ++i;
                        continue;
                    }
                    break;
                }
            }
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            i = std::min(sql.find('\n', i), sql.size());
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            const std::size_t end = sql.find("*/", i + 2);
            i = end == std::string_view::npos ? sql.size() : end + 1;
        } else if (c == '[') {
            if (equalsNoCase(sql.substr(i, kOpen.size()), kOpen)) {
                open = i;
            } else {
                i = std::min(sql.find(']', i), sql.size());
            }
        }
    }
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t middle = findNoCase(sql, kMiddle, open + kOpen.size());
    if (middle == std::string_view::npos) {
        error = "Refused \"" + std::string(sql) + "\": a text file source needs \";HDR=NO].[\"";
        return std::nullopt;
    }
    // The source ends the statement, so its file name runs to the statement's last "]": a
    // name holding "]" (or anything else) is taken whole and never read as SQL.
    std::size_t close = sql.find_last_not_of(" \t\r\n;");
    if (close == std::string_view::npos || close < middle + kMiddle.size() || sql[close] != ']') {
        error = "Refused \"" + std::string(sql) +
                "\": a text file source must end the statement, as "
                "[Text;Database=FOLDER;HDR=NO].[FILE]";
        return std::nullopt;
    }
    // The forms the program uses: SELECT ... INTO table FROM source, INSERT INTO table ...
    // SELECT ... FROM source.
    std::string_view before = sql.substr(0, open);
    while (!before.empty() && isBlank(before.back())) {
        before.remove_suffix(1);
    }
    std::string_view start = sql.substr(0, open);
    while (!start.empty() && isBlank(start.front())) {
        start.remove_prefix(1);
    }
    const bool selectOrInsert =
        start.size() > 6 && isBlank(start[6]) &&
        (equalsNoCase(start.substr(0, 6), "SELECT") || equalsNoCase(start.substr(0, 6), "INSERT"));
    const bool fromBefore = before.size() > 4 &&
                            equalsNoCase(before.substr(before.size() - 4), "FROM") &&
                            isBlank(before[before.size() - 5]);
    if (!selectOrInsert || !fromBefore) {
        error = "Refused \"" + std::string(sql) +
                "\": a text file can only be read by SELECT ... INTO or INSERT INTO ... SELECT ... "
                "FROM it";
        return std::nullopt;
    }
    const std::filesystem::path folder(
        sql.substr(open + kOpen.size(), middle - open - kOpen.size()));
    const std::size_t nameStart = middle + kMiddle.size();
    return TextSourceRef{open, close + 1, folder / sql.substr(nameStart, close - nameStart)};
}

} // namespace sw
