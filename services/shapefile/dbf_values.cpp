#include "services/shapefile/dbf_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

#include "services/base/enclosed.h"
#include "services/base/no_case.h"
#include "services/base/number_reading.h"

namespace sw {

namespace {

// Cuts a UTF-8 text to at most `width` bytes without splitting a character.
std::string cutUtf8(std::string_view text, std::size_t width) {
    if (text.size() <= width) {
        return std::string(text);
    }
    std::size_t cut = width;
    // The first byte left out is a continuation byte: its character began before the cut,
    // so leave the whole character out.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return std::string(text.substr(0, cut));
}

std::string trimmed(std::string_view text) {
    auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// A number right-aligned in its column: whole numbers rounded to the nearest (ties to even);
// otherwise the shortest text that reads back as the same double, padded with zeros to the
// column's decimals (or rounded to them when it has more). Nothing when it does not fit.
std::optional<std::string> numberText(double value, int width, int decimals) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    if (value == 0) {
        value = 0; // never "-0"
    }
    char buffer[512];
    std::string text;
    if (decimals <= 0) {
        double whole = std::nearbyint(value);
        if (std::fabs(whole) >= 1e18) {
            return std::nullopt;
        }
        text = std::to_string(static_cast<long long>(whole));
    } else {
        auto shortest =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
        text.assign(buffer, shortest.ptr);
        auto point = text.find('.');
        int has = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
        if (has > decimals) {
            auto rounded = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::fixed, decimals);
            text.assign(buffer, rounded.ptr);
        } else {
            std::string padded = text + (point == std::string::npos ? "." : "") +
                                 std::string(static_cast<std::size_t>(decimals - has), '0');
            if (static_cast<int>(padded.size()) <= width) {
                text = padded; // else keep the shorter text: same value, fewer zeros
            }
        }
    }
    // A tiny negative value rounds to zero: stored as zero, without a sign.
    if (text.front() == '-' && text.find_first_of("123456789") == std::string::npos) {
        text.erase(0, 1);
    }
    if (static_cast<int>(text.size()) > width) {
        return std::nullopt;
    }
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

int daysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

std::string dateText(ShapeDate date) {
    char buffer[3 * 12]; // room for any three ints, though a valid date takes 8
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", date.year, date.month, date.day);
    return buffer;
}

// A date typed as text: YYYYMMDD, YYYY-MM-DD, or mm-dd-yyyy / mm/dd/yyyy as the windows show
// dates.
std::optional<ShapeDate> dateFromText(std::string_view text) {
    auto number = [&](std::size_t at, std::size_t length) -> std::optional<int> {
        int value = 0;
        if (at + length > text.size()) {
            return std::nullopt;
        }
        auto [end, ec] = std::from_chars(text.data() + at, text.data() + at + length, value);
        if (ec != std::errc() || end != text.data() + at + length) {
            return std::nullopt;
        }
        return value;
    };
    std::optional<int> year, month, day;
    if (text.size() == 8) {
        year = number(0, 4), month = number(4, 2), day = number(6, 2);
    } else if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        year = number(0, 4), month = number(5, 2), day = number(8, 2);
    } else if (text.size() == 10 && (text[2] == '-' || text[2] == '/') && text[5] == text[2]) {
        month = number(0, 2), day = number(3, 2), year = number(6, 4);
    }
    if (!year || !month || !day) {
        return std::nullopt;
    }
    ShapeDate date{*year, *month, *day};
    return date.isValid() ? std::optional<ShapeDate>(date) : std::nullopt;
}

// The shortest text that reads back as the same double.
std::string shortest(double number) {
    char buffer[512];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

std::string unsupported(const ShapeFieldInfo& column, const char* what) {
    return std::string("Column ") + column.name + " (type " + column.dbfType + ") cannot hold " +
           what;
}

} // namespace

bool ShapeDate::isValid() const {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

bool validFieldName(std::string_view name) {
    if (name.empty() || name.size() > 10) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_';
    });
}

std::optional<ShapeFieldInfo> columnFor(std::string_view name, FieldType type, int width,
                                        std::string& error) {
    ShapeFieldInfo info;
    info.name = std::string(name);
    switch (type) {
    case FieldType::Text:
        if (width < 0 || width > 254) {
            error = "Text column " + info.name + " cannot be " + std::to_string(width) +
                    " characters wide (1 to 254)";
            return std::nullopt;
        }
        info.dbfType = 'C';
        info.width = width == 0 ? 254 : width;
        return info;
    case FieldType::Double:
    case FieldType::Numeric:
        info.dbfType = 'N';
        info.width = 19;
        info.decimals = 11;
        return info;
    case FieldType::Single:
    case FieldType::Float:
        info.dbfType = 'F';
        info.width = 19;
        info.decimals = 11;
        return info;
    case FieldType::Date:
        info.dbfType = 'D';
        info.width = 8;
        return info;
    case FieldType::LongInteger:
        info.dbfType = 'N';
        info.width = std::clamp(width, 11, 19);
        return info;
    case FieldType::Integer:
        info.dbfType = 'N';
        info.width = std::clamp(width, 6, 19);
        return info;
    case FieldType::YesNo:
        info.dbfType = 'L';
        info.width = 1;
        return info;
    default:
        error = "Column " + info.name + ": unknown type code " + std::to_string(typeCode(type));
        return std::nullopt;
    }
}

std::optional<std::string> encodeText(const ShapeFieldInfo& column, std::string_view text,
                                      const CodePage& codePage, std::string& error) {
    std::optional<std::string> stored;
    std::string clean = trimmed(text);
    switch (column.dbfType) {
    case 'C':
        if (codePage.isUtf8()) {
            stored = cutUtf8(text, static_cast<std::size_t>(column.width));
        } else {
            std::string why;
            stored = codePage.encode(text, static_cast<std::size_t>(column.width), why);
            if (!stored) {
                error = why + " (column " + column.name + ")";
            }
        }
        break;
    case 'N':
    case 'F':
        if (!clean.empty()) {
            auto number = readNumber(clean);
            if (!number) {
                error =
                    "\"" + std::string(text) + "\" is not a number (column " + column.name + ")";
            } else {
                stored = numberText(*number, column.width, column.decimals);
                if (!stored) {
                    error = std::string(text) + " does not fit column " + column.name;
                }
            }
        }
        break;
    case 'D':
        if (!clean.empty()) {
            auto date = dateFromText(clean);
            if (!date) {
                error = enclosed(text) + " is not a date (column " + column.name + ")";
            } else {
                stored = dateText(*date);
            }
        }
        break;
    case 'L':
        if (!clean.empty()) {
            if (equalsNoCase(clean, "T") || equalsNoCase(clean, "Y") ||
                equalsNoCase(clean, "true") || equalsNoCase(clean, "yes")) {
                stored = "T";
            } else if (equalsNoCase(clean, "F") || equalsNoCase(clean, "N") ||
                       equalsNoCase(clean, "false") || equalsNoCase(clean, "no")) {
                stored = "F";
            } else {
                error =
                    "\"" + std::string(text) + "\" is not yes or no (column " + column.name + ")";
            }
        }
        break;
    default:
        error = unsupported(column, "a text");
    }
    return stored;
}

std::optional<std::string> encodeNumber(const ShapeFieldInfo& column, double number,
                                        std::string& error) {
    std::optional<std::string> stored;
    switch (column.dbfType) {
    case 'C':
        stored = cutUtf8(shortest(number), static_cast<std::size_t>(column.width));
        break;
    case 'N':
    case 'F':
        stored = numberText(number, column.width, column.decimals);
        if (!stored) {
            error = shortest(number) + " does not fit column " + column.name;
        }
        break;
    case 'L':
        stored = number != 0 ? "T" : "F";
        break;
    default:
        error = unsupported(column, "a number");
    }
    return stored;
}

std::optional<std::string> encodeDate(const ShapeFieldInfo& column, ShapeDate date,
                                      std::string& error) {
    if (column.dbfType != 'D') {
        error = unsupported(column, "a date");
        return std::nullopt;
    }
    if (!date.isValid()) {
        error = "Not a valid date: " + std::to_string(date.year) + "-" +
                std::to_string(date.month) + "-" + std::to_string(date.day) + " (column " +
                column.name + ")";
        return std::nullopt;
    }
    return dateText(date);
}

} // namespace sw
