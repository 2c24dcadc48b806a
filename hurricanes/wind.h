#pragma once
// Wind speed and storm category: the speed in miles per hour and in knots, and the category
// that every output carries.
//
// Speeds are whole numbers held in 16 bits, as the files store them. Fractions go to the
// nearest whole number with ties to the even neighbour (2.5 -> 2, 3.5 -> 4); a text reads as
// its leading number, 0 when there is none ("12a" -> 12, "" -> 0). A knot is 1.1516 mph here:
// the factor the agency's storm records have always used (not the exact 1.15078), so a speed
// converted today matches the positions already on file.

#include <cstdint>
#include <string>
#include <string_view>

namespace sw {

inline constexpr double kMphPerKnot = 1.1516;

// The wind typed or slid into the window, as the current wind: its leading number, rounded and
// saturated into 16 bits (a text too large for them can never wrap to a negative speed).
std::int16_t windFromText(std::string_view text);

// Knots for a speed in mph (23 -> 20) and mph for a speed in knots (100 -> 115), each rounded
// to a whole number, ties to even.
std::int16_t knotsFromMph(std::int16_t mph);
std::int16_t mphFromKnots(std::int16_t knots);

// At most this many digits may stand before the point in the wind and knots fields: 999 is
// far beyond any storm, and both speeds then stay well inside 16 bits (999 kt = 1150 mph).
inline constexpr std::size_t kMaxWholeDigits = 3;

// Whether a text that a keystroke or a paste would leave in the wind field is allowed: digits
// and points only, at most kMaxWholeDigits digits before the first point.
bool acceptableWindText(std::string_view text);
// The same for the knots field, which takes digits only.
bool acceptableKnotsText(std::string_view text);

// The category text for a speed in mph: " " (one blank) up to 22, "Tropical Depression" 23 to
// 38, "Tropical Storm" 39 to 73, "Category 1" 74 to 95, "Category 2" 96 to 110, "Category 3"
// 111 to 130, "Category 4" 131 to 155, "Category 5" from 156.
std::string Hcat(int mph);

// The wind slider's range ends at 38 mph for an unnamed depression (spelled as the storm-name
// lists spell it), at 220 for any other storm.
inline constexpr const char* kUnnamedDepression = "Unamed Depression";
int windSliderMaximum(std::string_view stormName);

} // namespace sw
