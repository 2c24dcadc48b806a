#pragma once
// Numbers written as texts: the one place where the program decides how a number turns into a
// display or record text (how a text turns into a number is services/number_reading.h).
//
// Rounding rules used throughout the program:
// - whole parts read from a field round to the nearest integer with ties to the even neighbour
//   (4.5 -> 4, 5.5 -> 6, -2.5 -> -2);
// - numbers formatted for display round half away from zero on their decimal digits
//   (2.675 -> "2.68", -0.125 -> "-0.13"). "Decimal digits" means the value's 15 significant
//   digits, which is what a person sees: 1.005 is stored as 1.00499999999999989 but shows and
//   rounds as 1.005 -> 1.01;
// - the decimal separator is always ".", whatever the process locale.
//
// All functions are thread-safe and keep no state; none allocates more than its result.

#include <cstdint>
#include <string>
#include <string_view>

#include "services/base/number_reading.h" // leadingNumber, readNumber: how texts become numbers

namespace sw {

// The nearest whole number, ties to the even neighbour (4.5 -> 4, 5.5 -> 6, -0.5 -> 0).
// Infinities and NaN are returned unchanged.
double roundTiesToEven(double value);

// roundTiesToEven saturated into the 16-bit range (the width of the stored angle parts), so an
// absurd text can never overflow a part.
std::int16_t wholeTiesToEven16(double value);

// value rounded half away from zero to `decimals` decimal places (0..15), computed on the
// value's 15 significant decimal digits (see above). A result of zero is +0, never -0.
double roundHalfAwayFromZero(double value, int decimals);

// value formatted with a digit pattern made of "0" characters and at most one ".":
// "00.0000", "000.0000", "00.000000000000", "000000.00". The integer part has at least as many
// digits as the pattern's zeros before the point (more if needed, never grouped); the fraction
// is rounded half away from zero to exactly the pattern's number of zeros after the point; a
// negative value gets a leading "-" before the padded digits ("-084.5000"). A value that rounds
// to zero shows without sign. NaN and infinities give "NaN", "Inf" and "-Inf".
std::string formatDigitPattern(double value, std::string_view pattern);
// The same text appended to `out` (no allocation beyond growing `out`), for batch output.
void appendDigitPattern(std::string& out, double value, std::string_view pattern);

// The shortest decimal text that reads back as exactly `value`, in plain notation (no exponent,
// no grouping, no trailing zeros, no point for a whole number): 400000, 665880.43, 67536.7, 0.
// -0 gives "0". Used for the Albers easting and northing after rounding to 2 decimals.
std::string shortestText(double value);
void appendShortestText(std::string& out, double value);

// The text that our record files (CSV text files) write for a number: rounded to 15 significant
// digits, trailing zeros dropped, no exponent, "." separator, no point for a whole number:
// -84.1234, 512345.67, 0, 0.000001. -0 gives "0"; NaN and infinities give "NaN", "Inf", "-Inf".
std::string recordNumberText(double value);

} // namespace sw
