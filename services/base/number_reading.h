#pragma once
// Reading a number from a text: the one place where the program decides which texts are
// numbers. Every reader of typed or imported numbers (database columns, shapefile values, the
// text-table import, the command-line companion) goes through readNumber, so a text is a
// number everywhere or nowhere.
//
// The rule: optional blanks, an optional sign, digits, an optional "." and fraction digits, an
// optional exponent ("1e-05", as most tools print small values), optional blanks. The decimal
// separator is always ".", whatever the process locale. The whole part may group its digits
// with "," in groups of three ("1,234.50", "12,345,678"); any other comma ("1,2", "12,5",
// "1,,,,2.5", ",5") makes the text not a number, because a comma there is more likely a
// decimal comma or a typing slip than a thousands separator, and guessing would change the
// value. "inf", "nan", hexadecimal and words are not numbers.
//
// All functions are pure and thread-safe.

#include <cstdint>
#include <optional>
#include <string_view>

namespace sw {

struct NumberReading {
    // The value, when the whole text is a number that a double can hold.
    std::optional<double> value;
    // The text is written as a number, but one beyond the range of a double (1e309) or too
    // close to zero to be told from it (1e-400): refused, and worth saying so.
    bool outOfRange = false;
    // The text is written as a whole number (no point, no exponent): "007", "-12", "1,234".
    bool whole = false;
    // A whole number's value, when a 64-bit integer holds it exactly.
    std::optional<std::int64_t> integer;
};

NumberReading readNumberText(std::string_view text);

// The value of a text that is wholly a number by the rule above; nothing otherwise.
inline std::optional<double> readNumber(std::string_view text) {
    return readNumberText(text).value;
}

// A text written as a whole number whose value a 64-bit integer holds exactly; nothing
// otherwise (a fraction, an exponent, or digits beyond the integer range).
std::optional<std::int64_t> readWholeNumber(std::string_view text);

// The numeric value of a text's longest leading part that reads as a decimal number (leading
// blanks skipped, then an optional "+" or "-", digits, at most one "."; no exponent, no
// grouping), as a field that shows digits is read while it is being typed. A text without such
// a part reads 0: "12a" -> 12, "1.5" -> 1.5, " -.5x" -> -0.5, "abc" -> 0, "" -> 0,
// "1.2.3" -> 1.2, "-" -> 0, "1,5" -> 1. A run of digits too long for a double reads +/-
// infinity.
double leadingNumber(std::string_view text);

} // namespace sw
