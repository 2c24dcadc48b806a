#include "services/number_reading.h"

#include <charconv>
#include <limits>
#include <string>
#include <system_error>

namespace sw {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The text as from_chars takes it (grouping commas and a plus sign removed), when it follows
// the rule; whole tells whether it has neither point nor exponent.
std::optional<std::string> plainNumber(std::string_view text, bool& whole) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    std::string plain;
    plain.reserve(text.size());
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') {
            plain.push_back('-');
        }
        ++i;
    }
    // Whole part: digits, grouped by commas in threes when grouped at all.
    std::size_t digits = 0;      // whole digits in all
    std::size_t groupDigits = 0; // digits since the last comma (or the start)
    bool grouped = false;
    for (; i < text.size() && (isDigit(text[i]) || text[i] == ','); ++i) {
        if (text[i] == ',') {
            const bool firstGroupOk = grouped || (groupDigits >= 1 && groupDigits <= 3);
            if (!firstGroupOk || (grouped && groupDigits != 3)) {
                return std::nullopt;
            }
            grouped = true;
            groupDigits = 0;
            continue;
        }
        plain.push_back(text[i]);
        ++digits;
        ++groupDigits;
    }
    if (grouped && groupDigits != 3) {
        return std::nullopt;
    }
    whole = true;
    if (i < text.size() && text[i] == '.') {
        whole = false;
        plain.push_back('.');
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            plain.push_back(text[i]);
            ++digits;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        whole = false;
        plain.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            plain.push_back(text[i]);
            ++i;
        }
        const std::size_t exponentStart = i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            plain.push_back(text[i]);
        }
        if (i == exponentStart) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return plain;
}

} // namespace

NumberReading readNumberText(std::string_view text) {
    NumberReading reading;
    bool whole = false;
    const auto plain = plainNumber(text, whole);
    if (!plain) {
        return reading;
    }
    double value = 0;
    const char* first = plain->data();
    const char* last = plain->data() + plain->size();
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        reading.outOfRange = true;
        return reading;
    }
    if (ec != std::errc() || end != last) {
        return reading;
    }
    reading.value = value;
    reading.whole = whole;
    return reading;
}

std::optional<std::int64_t> readWholeNumber(std::string_view text) {
    bool whole = false;
    const auto plain = plainNumber(text, whole);
    if (!plain || !whole) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const char* last = plain->data() + plain->size();
    const auto [end, ec] = std::from_chars(plain->data(), last, value);
    if (ec != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

double leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (isBlank(text[i]) || text[i] == '\r' || text[i] == '\n')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = (text[i] == '-');
        ++i;
    }
    const std::size_t start = i;
    bool anyDigit = false;
    bool nonZeroWhole = false;
    while (i < text.size() && isDigit(text[i])) {
        anyDigit = true;
        nonZeroWhole = nonZeroWhole || text[i] != '0';
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            anyDigit = true;
            ++i;
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    double value = 0.0;
    const auto res =
        std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::fixed);
    if (res.ec == std::errc::result_out_of_range) {
        // Only absurdly long digit runs get here: too large, or too close to zero.
        value = nonZeroWhole ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (res.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

} // namespace sw
