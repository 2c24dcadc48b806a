#pragma once
// The time of a storm position: the UTC month, day and hour the user sets with the scroll bars,
// turned into the UTC text and the local text that every output carries. (The report date is a
// typed date: taskwindow/typed_date.h.)
//
// Nothing here asks the machine anything: the current year and the time-zone name come in as
// arguments (the window has them from its sw::Clock, taskwindow/clock.h), so the rules give
// the same answer in a test as on a dispatcher's desk.
//
// The UTC year is always the current year of the machine's clock (the positions are entered as
// the advisories arrive); the report date is a field of its own and never feeds the UTC time.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QDateTime;

namespace sw {

// "00:00" .. "23:00".
std::string hourLabel(int hour);

// Offset from UTC in whole hours and the suffix written after the local time.
struct ZoneOffset {
    int hours = 0;
    std::string suffix;
    bool operator==(const ZoneOffset&) const = default;
};

// Exact match on the zone name: the Eastern and Central rows (-5/-4 " EST"/" EDT",
// -6/-5 " CST"/" CDT") and, for dispatchers elsewhere in the country, Atlantic, Mountain,
// Pacific, Alaska and Hawaii-Aleutian. Any other name, kUnknownZoneName included, gives offset
// 0 and no suffix: the local time then equals the UTC time.
ZoneOffset zoneOffset(std::string_view zoneName);

// What ConvertUTC gives back to the window.
struct UtcConversion {
    // The day, clamped to the month ("31" in April becomes "30"); the window writes it back.
    std::string dayText;
    // "8/29/2025 15:00:00 UTC"; empty when the month text is not 1..12.
    std::string utcText;
    // "8/29/2025 11:00:00 AM EDT", or at local midnight "8/29/2025 00:00:00 AM EDT". Absent when
    // the month text is not 1..12: the window then keeps its last local text.
    std::optional<std::string> localText;
};

// The zone's name at the position's instant (the window's Clock::zoneNameAt).
using ZoneNameAt = std::function<std::string(const QDateTime& instant)>;

// The UTC and local texts of a position: month and day as the labels show them ("8", "29"),
// the hour label ("15:00", whose first two characters count), the current year and the zone
// as the window's clock names it at the position's own instant: daylight time, offset and
// suffix are those of that date, not of today.
UtcConversion ConvertUTC(std::string_view monthText, std::string_view dayText,
                         std::string_view hourText, int year, const ZoneNameAt& zoneNameAt);
// The same with one zone name whatever the instant.
UtcConversion ConvertUTC(std::string_view monthText, std::string_view dayText,
                         std::string_view hourText, int year, std::string_view zoneName);

// Three-letter English month name ("Jan".."Dec"); empty outside 1..12.
std::string monthAbbreviation(int month);

} // namespace sw
