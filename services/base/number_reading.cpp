#include "services/base/number_reading.h"

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

// A text that follows the rule, as from_chars takes it.
struct PlainNumber {
    std::string_view text; // what from_chars reads: the text itself, or `copy`
    std::string copy;      // the text without its grouping commas, when it has some
    bool whole = false;    // neither point nor exponent
};

// Checks the text against the rule; the text itself is used (no copy) unless grouping commas
// must go, because every value of a large imported table passes through here.
bool plainNumber(std::string_view text, PlainNumber& out) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t body = i;
    // Whole part: digits, grouped by commas in threes when grouped at all.
    std::size_t digits = 0;      // whole digits in all
    std::size_t groupDigits = 0; // digits since the last comma (or the start)
    bool grouped = false;
    for (; i < text.size() && (isDigit(text[i]) || text[i] == ','); ++i) {
        if (text[i] == ',') {
            const bool firstGroupOk = grouped || (groupDigits >= 1 && groupDigits <= 3);
            if (!firstGroupOk || (grouped && groupDigits != 3)) {
                return false;
            }
            grouped = true;
            groupDigits = 0;
            continue;
        }
        ++digits;
        ++groupDigits;
    }
    if (grouped && groupDigits != 3) {
        return false;
    }
    bool whole = true;
    if (i < text.size() && text[i] == '.') {
        whole = false;
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        whole = false;
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const std::size_t exponentStart = i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
        }
        if (i == exponentStart) {
            return false;
        }
    }
    if (i != text.size()) {
        return false;
    }
    out.whole = whole;
    if (!grouped) {
        out.text = negative ? text : text.substr(body); // from_chars takes no plus sign
        return true;
    }
    out.copy.clear();
    if (negative) {
        out.copy.push_back('-');
    }
    for (std::size_t k = body; k < text.size(); ++k) {
        if (text[k] != ',') {
            out.copy.push_back(text[k]);
        }
    }
    out.text = out.copy;
    return true;
}

} // namespace

NumberReading readNumberText(std::string_view text) {
    NumberReading reading;
    PlainNumber plain;
    if (!plainNumber(text, plain)) {
        return reading;
    }
    const char* first = plain.text.data();
    const char* last = first + plain.text.size();
    if (plain.whole) {
        std::int64_t integer = 0;
        const auto [end, ec] = std::from_chars(first, last, integer);
        if (ec == std::errc() && end == last) {
            reading.integer = integer;
            reading.whole = true;
            if (integer != 0) { // a zero keeps its sign ("-0") through the reading below
                // Converting to double rounds exactly as reading the digits would.
                reading.value = static_cast<double>(integer);
                return reading;
            }
        }
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        reading.outOfRange = true;
        return reading;
    }
    if (ec != std::errc() || end != last) {
        return reading;
    }
    reading.value = value;
    reading.whole = plain.whole;
    return reading;
}

std::optional<std::int64_t> readWholeNumber(std::string_view text) {
    return readNumberText(text).integer;
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
