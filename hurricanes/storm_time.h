#pragma once
// The time of a storm position: the UTC month, day and hour the user sets with the scroll bars,
// turned into the UTC text and the local text that every output carries, and the rule for the
// separate report date.
//
// Nothing here asks the machine anything by itself: the current year, today's date and the
// time-zone name come in as arguments, so the rules give the same answer in a test as on a
// dispatcher's desk. systemZoneName() is the one place that reads the machine's zone.
//
// The UTC year is always the current year of the machine's clock (the positions are entered as
// the advisories arrive); the report date is a field of its own and never feeds the UTC time.

#include <QDate>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QDateTime;
class QTimeZone;

namespace sw {

// Gregorian leap year: divisible by 4 and not by 100, or divisible by 400.
bool leapYear(int year);

// Days of a month (1..12) in `year`; 31 for a month outside 1..12, the scroll bar's widest range.
int daySetter(int month, int year);

// "00:00" .. "23:00".
std::string hourLabel(int hour);

// The name given for a machine whose zone cannot be found.
inline constexpr const char* kUnknownZoneName = "Cannot determine current time zone";

// The machine's zone, named as the conversion table names it, for the moment `now`: whether
// daylight time is in force is decided by `now`, never by the position's own date.
// US zones (the fifty states, Puerto Rico and the US Virgin Islands) are named by their
// standard offset: "Eastern Standard Time", "Central Daylight Time", "Hawaii-Aleutian
// Standard Time" and so on. Any other zone keeps its own identifier (which matches no row of
// the table); an invalid zone gives kUnknownZoneName.
std::string systemZoneName(const QTimeZone& zone, const QDateTime& now);
// The same for the machine's own zone at this moment.
std::string currentZoneName();

// What the window asks the machine: today's local date and the zone's name at this moment.
// Tests hand in a fixed day and zone.
struct StormClock {
    std::function<QDate()> today;
    std::function<std::string()> zoneName;
};
StormClock systemStormClock();

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

// The UTC and local texts of a position: month and day as the labels show them ("8", "29"),
// the hour label ("15:00", whose first two characters count), the current year and the zone
// name from systemZoneName().
UtcConversion ConvertUTC(std::string_view monthText, std::string_view dayText,
                         std::string_view hourText, int year, std::string_view zoneName);

// The report date as shown: "mm-dd-yyyy".
std::string reportDateText(const QDate& date);

// What leaving the report-date field leads to.
enum class ReportDateCheck {
    Accepted, // this year or last year
    Invalid,  // not a date: the field is reset to today and keeps the focus
    Future,   // a later year than this one: refused, the field keeps the focus
    AskOld,   // two or more years back: the user is asked whether to accept it
};
ReportDateCheck checkReportDate(std::string_view text, const QDate& today);

// The texts of those outcomes.
inline constexpr const char* kInvalidDateMessage = "You must enter a valid date";
inline constexpr const char* kFutureYearMessage =
    "Year is in the future - you must enter a valid date";
inline constexpr const char* kOldYearQuestion = "Year is  more than One year ago - Accept?";
inline constexpr const char* kOldYearTitle = "Accept Date?";

// Three-letter English month name ("Jan".."Dec"); empty outside 1..12.
std::string monthAbbreviation(int month);

} // namespace sw
